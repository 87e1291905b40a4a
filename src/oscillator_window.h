// Limits of the Si5328's internal oscillator and the divider ranges the solver tries.
#pragma once

#include <cstdint>

// The oscillator must run between these frequencies (MHz), both ends included.
inline constexpr double OSCILLATOR_MIN_MHZ = 4850.0;
inline constexpr double OSCILLATOR_MAX_MHZ = 5670.0;

// N1_HS runs 6-11, N2_HS 4-11.
inline constexpr std::uint32_t FIRST_N1_HIGH_SPEED = 6;
inline constexpr std::uint32_t LAST_N1_HIGH_SPEED = 11;
inline constexpr std::uint32_t FIRST_N2_HIGH_SPEED = 4;
inline constexpr std::uint32_t LAST_N2_HIGH_SPEED = 11;

// The low-speed dividers are 20-bit registers: NC1_LS stays below 2^20 (its last
// candidate is 2^20 - 2), while N2_LS may reach 2^20 itself. The searches compare the
// candidate with the bound as doubles, which is exact for every value involved.
inline constexpr std::uint32_t LOW_SPEED_BOUND = std::uint32_t{1} << 20;
inline constexpr std::uint32_t LAST_NC1_LOW_SPEED = LOW_SPEED_BOUND - 2;
inline constexpr std::uint32_t LAST_N2_LOW_SPEED = LOW_SPEED_BOUND;

// Values that mean "nothing chosen yet".
inline constexpr std::uint32_t NO_N1_HIGH_SPEED = 999;
inline constexpr std::uint32_t NO_NC1_LOW_SPEED = 99999;
inline constexpr std::uint32_t NO_N2 = 999999999;
inline constexpr double NO_ERROR_PPM = 999.0;

// f3 = fosc / N2 must not fall below this (kHz).
inline constexpr double PHASE_DETECTOR_FLOOR_KHZ = 2.0;

// The error in ppm of a feedback candidate whose input 2 gives fosc2, operation for
// operation as the register contract has it: every search and proof uses this one.
inline double feedback_error_ppm(double fosc2, double n1, double requested) {
  constexpr double PPM = 1000000.0;
  double err = fosc2 / n1 - requested;
  if (err < 0) err *= -1.0;
  return (err / requested) * PPM;
}
