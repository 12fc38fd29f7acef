// The generated code page 932 text the matcher benchmarks and the peer comparison run over.
#pragma once

#include <string>
#include <vector>

namespace tesvarin::bench {

// Deterministic lines of 40 to 200 bytes joined by CR LF, about TotalBytes in all.
std::string MakeText(size_t TotalBytes);
std::vector<std::string> SplitLines(const std::string& Text);

}  // namespace tesvarin::bench
