// A slow reference matcher for the differential test: its own parser and a position-set walk
// over whole characters, sharing nothing with the engine but the byte classes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace tesvarin::oracle {

struct Hit {
  int Pos = 0;  // 1-based, 0 for none
  int Len = 0;
  bool operator==(const Hit&) const = default;
};

class OracleMatcher {
public:
  OracleMatcher();
  ~OracleMatcher();
  // False when the expression is not valid in the dialect.
  bool Compile(const std::string& Expr);
  // Leftmost start, longest end; a ^ that starts the expression and a $ that ends it are line marks.
  [[nodiscard]] Hit Match(const std::string& Text, bool LfSeparator) const;

  struct Node;

private:
  std::unique_ptr<Node> FRoot;
};

struct Result {
  bool Valid = false;  // false: the expression is not well formed
  int Pos = 0;         // 1-based byte position, 0 for no match
  int Len = 0;
};

// One-shot form: compiles Expr and matches Text; CrLf chooses CR (else LF) as the line end.
Result Match(const std::string& Expr, const std::string& Text, bool CrLf);

}  // namespace tesvarin::oracle
