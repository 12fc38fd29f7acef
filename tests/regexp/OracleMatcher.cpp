// The reference matcher. Texts are at most 62 characters, so a set of positions is one 64-bit mask.
#include "OracleMatcher.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "support/Sjis.h"

namespace tesvarin::oracle {

struct OracleMatcher::Node {
  enum Kind { Chars, NotChars, Any, Cat, Alt, Star, Plus, Opt, Empty, Head, Tail } K = Empty;
  std::vector<uint16_t> Codes;
  std::unique_ptr<Node> A, B;
};

OracleMatcher::OracleMatcher() = default;
OracleMatcher::~OracleMatcher() = default;

namespace {
using Node = OracleMatcher::Node;
using NodePtr = std::unique_ptr<Node>;
using Mask = uint64_t;

struct Invalid {};

NodePtr Make(Node::Kind K, NodePtr A = nullptr, NodePtr B = nullptr) {
  auto N = std::make_unique<Node>();
  N->K = K;
  N->A = std::move(A);
  N->B = std::move(B);
  return N;
}

class Reader {
public:
  explicit Reader(const std::string& S) : FS(S) {}
  [[nodiscard]] bool AtEnd() const { return FI >= FS.size(); }
  [[nodiscard]] unsigned char Peek() const { return static_cast<unsigned char>(FS[FI]); }
  uint16_t Char() {
    if (AtEnd()) throw Invalid{};
    const auto B = static_cast<unsigned char>(FS[FI++]);
    if (!IsLeadByte(B)) return B;
    if (AtEnd()) throw Invalid{};
    return static_cast<uint16_t>(B << 8 | static_cast<unsigned char>(FS[FI++]));
  }
  // The generator writes no digits, x, n, r or t after a backslash; b is the backspace.
  uint16_t Escaped() {
    const uint16_t C = Char();
    if ((C >= '0' && C <= '9') || C == 'x' || C == 'n' || C == 'r' || C == 't')
      throw std::logic_error("oracle: escape outside its alphabet");
    return C == 'b' ? 8 : C;
  }

private:
  const std::string& FS;
  size_t FI = 0;
};

class Parser {
public:
  explicit Parser(const std::string& S) : FR(S) {}
  NodePtr Whole() {
    NodePtr R = Regex();
    if (!FR.AtEnd()) throw Invalid{};  // only an unmatched ) stops a regex early
    return R;
  }

private:
  [[nodiscard]] bool AtConcatEnd() const { return FR.AtEnd() || FR.Peek() == '|' || FR.Peek() == ')'; }

  NodePtr Regex() {
    NodePtr R = Concat();
    while (!FR.AtEnd() && FR.Peek() == '|') {
      FR.Char();
      R = Make(Node::Alt, std::move(R), Concat());
    }
    return R;
  }
  NodePtr Concat() {
    if (AtConcatEnd()) return Make(Node::Empty);
    NodePtr R = Closure();
    while (!AtConcatEnd()) R = Make(Node::Cat, std::move(R), Closure());
    return R;
  }
  NodePtr Closure() {
    NodePtr F = Factor();
    if (FR.AtEnd()) return F;
    switch (FR.Peek()) {
      case '*': FR.Char(); return Make(Node::Star, std::move(F));
      case '+': FR.Char(); return Make(Node::Plus, std::move(F));
      case '?': FR.Char(); return Make(Node::Opt, std::move(F));
      default: return F;
    }
  }
  NodePtr Factor() {
    const uint16_t C = FR.Char();
    switch (C) {
      case '*': case '+': case '?': case ']': case '|': case ')': throw Invalid{};
      case '(': {
        NodePtr R = Regex();
        if (FR.AtEnd()) throw Invalid{};
        FR.Char();
        return R;
      }
      case '[': return Class();
      case '.': return Make(Node::Any);
      case '^': return Make(Node::Head);
      case '$': return Make(Node::Tail);
      case '\\': return Literal(FR.Escaped());
      default: return Literal(C);
    }
  }
  static NodePtr Literal(uint16_t C) {
    NodePtr N = Make(Node::Chars);
    N->Codes.push_back(C);
    return N;
  }
  NodePtr Class() {
    NodePtr N = Make(Node::Chars);
    if (FR.AtEnd()) throw Invalid{};
    if (FR.Peek() == '^') {
      FR.Char();
      N->K = Node::NotChars;
    }
    for (;;) {
      const uint16_t C = FR.Char();
      if (C == ']' && !N->Codes.empty()) break;
      if (C == ']') throw Invalid{};  // an empty class
      N->Codes.push_back(C == '\\' ? FR.Escaped() : C);
    }
    return N;
  }

  Reader FR;
};

bool AnyChar(uint16_t C) { return C != 0 && C != 10 && C != 13 && C <= 0xFCFC; }

bool Accepts(const Node& N, uint16_t C) {
  const bool In = std::find(N.Codes.begin(), N.Codes.end(), C) != N.Codes.end();
  if (N.K == Node::Chars) return In;
  return !In && AnyChar(C);
}

struct Walk {
  std::vector<uint16_t> Codes;  // one per character
  int Start = 0;
  bool HeadOK = false;
  uint16_t Separator = 13;

  [[nodiscard]] int Count() const { return static_cast<int>(Codes.size()); }

  template <class Pred>
  [[nodiscard]] Mask StepChar(Mask In, Pred P) const {
    Mask Out = 0;
    for (int Q = 0; Q < Count(); ++Q)
      if ((In >> Q & 1) && P(Codes[static_cast<size_t>(Q)])) Out |= Mask{1} << (Q + 1);
    return Out;
  }
  [[nodiscard]] Mask AtLineEnd() const {
    Mask M = Mask{1} << Count();
    for (int Q = 0; Q < Count(); ++Q)
      if (Codes[static_cast<size_t>(Q)] == Separator) M |= Mask{1} << Q;
    return M;
  }

  // Positions reachable after N from the positions In; AtStart / AtEnd tell whether a ^ or $ here
  // would stand at the very start or end of the expression, where it is a line mark.
  [[nodiscard]] Mask Eval(const Node& N, Mask In, bool AtStart, bool AtEnd) const {
    switch (N.K) {
      case Node::Chars:
      case Node::NotChars: return StepChar(In, [&N](uint16_t C) { return Accepts(N, C); });
      case Node::Any: return StepChar(In, AnyChar);
      case Node::Empty: return In;
      case Node::Head:
        if (AtStart) return HeadOK ? (In & (Mask{1} << Start)) : 0;
        return StepChar(In, [](uint16_t C) { return C == '^'; });
      case Node::Tail:
        if (AtEnd) return In & AtLineEnd();
        return StepChar(In, [](uint16_t C) { return C == '$'; });
      case Node::Cat: return Eval(*N.B, Eval(*N.A, In, AtStart, false), false, AtEnd);
      case Node::Alt: return Eval(*N.A, In, AtStart, AtEnd) | Eval(*N.B, In, AtStart, AtEnd);
      case Node::Opt: return In | Eval(*N.A, In, AtStart, AtEnd);
      case Node::Star: return Repeat(*N.A, In);
      case Node::Plus: return Repeat(*N.A, Eval(*N.A, In, AtStart, false));
    }
    return 0;
  }
  [[nodiscard]] Mask Repeat(const Node& N, Mask In) const {
    Mask R = In;
    for (;;) {
      const Mask Next = R | Eval(N, R, false, false);
      if (Next == R) return R;
      R = Next;
    }
  }
};

int HighestBit(Mask M) { return 63 - __builtin_clzll(M); }

}  // namespace

bool OracleMatcher::Compile(const std::string& Expr) {
  try {
    FRoot = Parser(Expr).Whole();
    return true;
  } catch (const Invalid&) {
    FRoot.reset();
    return false;
  }
}

Hit OracleMatcher::Match(const std::string& Text, bool LfSeparator) const {
  Walk W;
  std::vector<int> Offsets;  // byte offset of each character, then of the end
  size_t I = 0;
  while (I < Text.size() && Text[I] != '\0') {
    Offsets.push_back(static_cast<int>(I));
    const auto B = static_cast<unsigned char>(Text[I]);
    const bool Pair = IsLeadByte(B) && I + 1 < Text.size() && Text[I + 1] != '\0';
    W.Codes.push_back(Pair ? static_cast<uint16_t>(B << 8 | static_cast<unsigned char>(Text[I + 1])) : B);
    I += Pair ? 2 : 1;
  }
  Offsets.push_back(static_cast<int>(I));
  if (W.Count() > 62) throw std::logic_error("oracle: text too long");
  W.Separator = LfSeparator ? 10 : 13;
  for (int P = 0; P <= W.Count(); ++P) {
    W.Start = P;
    W.HeadOK = P == 0 || W.Codes[static_cast<size_t>(P - 1)] == 10;
    const Mask Ends = W.Eval(*FRoot, Mask{1} << P, true, true);
    if (Ends != 0) {
      const int E = HighestBit(Ends);
      return {Offsets[static_cast<size_t>(P)] + 1, Offsets[static_cast<size_t>(E)] - Offsets[static_cast<size_t>(P)]};
    }
  }
  return {};
}

Result Match(const std::string& Expr, const std::string& Text, bool CrLf) {
  OracleMatcher M;
  if (!M.Compile(Expr)) return {};
  const Hit H = M.Match(Text, !CrLf);
  return {true, H.Pos, H.Len};
}

}  // namespace tesvarin::oracle
