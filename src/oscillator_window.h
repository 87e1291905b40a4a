// Limits of the Si5328's internal oscillator and the divider ranges the solver tries.
#pragma once

#include <cstdint>

// The oscillator must run between these frequencies (MHz), both ends included.
inline constexpr double kOscillatorMinMhz = 4850.0;
inline constexpr double kOscillatorMaxMhz = 5670.0;

// N1_HS runs 6-11, N2_HS 4-11.
inline constexpr std::uint32_t kFirstN1HighSpeed = 6;
inline constexpr std::uint32_t kLastN1HighSpeed = 11;
inline constexpr std::uint32_t kFirstN2HighSpeed = 4;
inline constexpr std::uint32_t kLastN2HighSpeed = 11;

// The low-speed dividers are 20-bit registers: NC1_LS stays below 2^20 (its last
// candidate is 2^20 - 2), while N2_LS may reach 2^20 itself. The searches compare the
// candidate with the bound as doubles.
inline constexpr std::uint32_t kLowSpeedBound = std::uint32_t{1} << 20;
inline constexpr double kLowSpeedLimit = kLowSpeedBound;
inline constexpr std::uint32_t kLastNC1LowSpeed = kLowSpeedBound - 2;
inline constexpr std::uint32_t kLastN2LowSpeed = kLowSpeedBound;

// Values that mean "nothing chosen yet".
inline constexpr std::uint32_t kNoN1HighSpeed = 999;
inline constexpr std::uint32_t kNoNC1LowSpeed = 99999;
inline constexpr std::uint32_t kNoN2 = 999999999;
inline constexpr double kNoErrorPpm = 999.0;

// f3 = fosc / N2 must not fall below this (kHz).
inline constexpr double kPhaseDetectorFloorKhz = 2.0;
