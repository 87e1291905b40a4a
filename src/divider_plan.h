// The divider register record of the Si5328 and the solver that fills it.
//
// A run fills one divider_plan: the front end writes the requested output
// frequency, plan_setup lays out the fixed frequency plan, and the three solver
// stages choose the dividers in place and print the register report.
#pragma once

#include <cstdint>

// Input 2 of every plan runs from this fixed reference (MHz).
inline constexpr double REFERENCE_INPUT_MHZ = 114.285;

struct divider_plan {
  double out_freq[4];  // MHz; out_freq[0] is the requested frequency F
  double in_freq[4];   // MHz
  std::uint32_t N1;    // N1_HS x NC1_LS
  std::uint32_t N1_HS;
  std::uint32_t NC1_LS;
  std::uint32_t NC_LS_out[4];  // per-output low-speed divider derived from fosc
  std::uint32_t N2;            // N2_HS x N2_LS
  std::uint32_t N2_HS;
  std::uint32_t N2_LS;
  std::uint32_t N31, N32, N33, N34;  // input dividers of inputs 1-4
  std::int32_t fixed_word[6];        // always 1, 0, 0, 0, 0, 0
  std::int32_t in_rate_code[4];      // 0-5, see input_rate_code
};

// Fills the frequency plan around out_freq[0] (all outputs and inputs 1, 3, 4 at
// F, input 2 at REFERENCE_INPUT_MHZ) and runs solve_dividers; returns its result.
int plan_setup(divider_plan& plan);

// Runs the output search, the feedback search and the report in order.
// Returns 0 after printing the report, 1 after a stage printed its
// "No N1/N2 solution" message.
int solve_dividers(divider_plan& plan);

// Chooses N1_HS x NC1_LS with the smallest product that puts the oscillator
// inside 4850-5670 MHz and sets fosc (MHz). Returns 0, or prints the
// "No N1 solution" message and returns 1 with the sentinels left in place.
int search_output_dividers(divider_plan& plan, double& fosc);

// Chooses N2_HS x N2_LS and N31-N34 for fosc: input 1 must reproduce fosc
// exactly, input 2 should come closest in ppm, f3 never below 2 kHz. Sets f3
// (kHz) and returns 0, or prints the "No N2 solution" message and returns 1.
int search_feedback_dividers(divider_plan& plan, double fosc, double& f3);

// Prints the register report, then fills fixed_word, NC_LS_out and
// in_rate_code. Always returns 0.
int report_and_derive(divider_plan& plan, double fosc, double f3);

// Range code of an input frequency (MHz): 0 below 27, then 1-4 up to the
// thresholds 54, 105, 215, 435; 5 at or above 435 and for a NaN.
int input_rate_code(double mhz);
