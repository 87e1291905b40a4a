// The program's own texts as they reach standard output (every line feed already
// widened to CR LF), written out once for every test that compares whole outputs.
#pragma once

inline constexpr char BANNER[] = "These are the register values for the Si5328:\r\n";
inline constexpr char USAGE[] =
    "The requested frequency must be provided for proper use of this program:\r\n"
    "\tUsage: pllcfg.exe <frequency_in_mhz>\r\n"
    "\tExample: pllset.exe 8.13\r\n";
inline constexpr char NOT_A_FLOAT[] = "error in argument - not a float\r\n";
inline constexpr char TOO_LOW[] =
    "error in argument - the freuqnecy must be greater than or equal to 0.008 MHz\r\n";
// No line end: the next shell prompt lands on the same line.
inline constexpr char TOO_HIGH[] =
    "error in argument - the frequency must be less than or equal to 808 MHz";
