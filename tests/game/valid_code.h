#pragma once

// The tests' own statement of which codes are valid, to check the game's code table against:
// six digits 1 to 7, read as three pairs that share no digit, at most one of them diagonal.
namespace testoracle {

inline bool IsValidCode(int code) {
  if (code < 111'111 || code > 777'777) return false;
  int d[6];
  for (int i = 5; i >= 0; --i, code /= 10) {
    d[i] = code % 10;
    if (d[i] < 1 || d[i] > 7) return false;
  }
  for (int i = 0; i < 6; ++i)
    for (int j = i + 1; j < 6; ++j)
      if (i / 2 != j / 2 && d[i] == d[j]) return false;
  return (d[0] == d[1]) + (d[2] == d[3]) + (d[4] == d[5]) <= 1;
}

}  // namespace testoracle
