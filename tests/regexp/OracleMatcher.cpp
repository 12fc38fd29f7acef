// The oracle: recursive descent straight over the bytes, then sets of reachable character indices.
#include "OracleMatcher.h"

#include <set>
#include <stdexcept>

namespace tesvarin::oracle {
namespace {

using NodeP = std::shared_ptr<Node>;
struct Bad {};

bool Lead(unsigned char B) { return (B >= 0x81 && B <= 0x9F) || (B >= 0xE0 && B <= 0xFC); }

class Parser {
public:
  explicit Parser(const std::string& S) : FS(S) {}

  NodeP Whole() {
    NodeP R = Regex();
    if (!AtEnd()) throw Bad{};  // only an unmatched ) can stop the grammar early
    return R;
  }

private:
  bool AtEnd() const { return FI >= FS.size(); }
  unsigned char Peek() const { return static_cast<unsigned char>(FS[FI]); }

  uint16_t Char() {
    const auto B = Peek();
    if (Lead(B)) {
      if (FI + 1 >= FS.size()) throw Bad{};
      FI += 2;
      return static_cast<uint16_t>(B << 8 | static_cast<unsigned char>(FS[FI - 1]));
    }
    ++FI;
    return B;
  }

  uint16_t Escape() {
    if (AtEnd()) throw Bad{};
    const uint16_t C = Char();
    switch (C) {
      case 'b': return 8;
      case 'n': return 10;
      case 'r': return 13;
      case 't': return 9;
      default: break;
    }
    if (C == 'x' || (C >= '0' && C <= '7')) throw std::logic_error("numeric escapes are outside the oracle");
    return C;
  }

  static NodeP Make(Node::Kind K, NodeP A = nullptr, NodeP B = nullptr) {
    auto N = std::make_shared<Node>();
    N->K = K;
    N->A = std::move(A);
    N->B = std::move(B);
    return N;
  }

  NodeP Regex() {
    NodeP R = Concat();
    while (!AtEnd() && Peek() == '|') {
      ++FI;
      R = Make(Node::Alt, R, Concat());
    }
    return R;
  }

  bool ConcatEnds() const { return AtEnd() || Peek() == '|' || Peek() == ')'; }

  NodeP Concat() {
    if (ConcatEnds()) return Make(Node::Empty);
    NodeP R = Postfix();
    while (!ConcatEnds()) R = Make(Node::Cat, R, Postfix());
    return R;
  }

  NodeP Postfix() {
    NodeP F = Factor();
    if (AtEnd()) return F;
    switch (Peek()) {
      case '*': ++FI; return Make(Node::Star, F);
      case '+': ++FI; return Make(Node::Cat, F, Make(Node::Star, F));
      case '?': ++FI; return Make(Node::Alt, F, Make(Node::Empty));
      default: return F;
    }
  }

  NodeP Leaf(uint16_t Lo, uint16_t Hi) {
    NodeP N = Make(Node::Chars);
    N->Ranges.emplace_back(Lo, Hi);
    return N;
  }

  NodeP Factor() {
    const uint16_t C = Char();
    switch (C) {
      case '(': {
        NodeP R = Regex();
        if (AtEnd() || Peek() != ')') throw Bad{};
        ++FI;
        return R;
      }
      case '[': return Class();
      case '.': {
        NodeP N = Make(Node::Chars);
        N->Ranges = {{1, 9}, {11, 12}, {14, 0xFCFC}};
        return N;
      }
      case '^': {
        NodeP N = Make(Node::Head);
        return N;
      }
      case '$': return Make(Node::Tail);
      case '\\': {
        const uint16_t E = Escape();
        return Leaf(E, E);
      }
      case '*': case '+': case '?': case ')': case ']': case '|': throw Bad{};
      default: return Leaf(C, C);
    }
  }

  uint16_t ClassChar() {
    if (AtEnd()) throw Bad{};
    const uint16_t C = Char();
    return C == '\\' ? Escape() : C;
  }

  NodeP Class() {
    if (AtEnd()) throw Bad{};
    NodeP N = Make(Node::Chars);
    if (Peek() == '^') {
      ++FI;
      N->Negated = true;
    }
    for (;;) {
      if (AtEnd()) throw Bad{};
      if (Peek() == ']') {
        ++FI;
        break;
      }
      const uint16_t Lo = ClassChar();
      if (AtEnd()) throw Bad{};
      if (Peek() != '-' || FI + 1 >= FS.size() || FS[FI + 1] == ']') {
        if (Peek() == '-' && FI + 1 >= FS.size()) throw Bad{};
        N->Ranges.emplace_back(Lo, Lo);
        continue;
      }
      ++FI;
      const uint16_t Hi = ClassChar();
      if (Hi < Lo) throw Bad{};
      N->Ranges.emplace_back(Lo, Hi);
    }
    if (N->Ranges.empty()) throw Bad{};
    return N;
  }

  const std::string& FS;
  size_t FI = 0;
};

struct Text {
  std::vector<int> Offsets;  // byte offset of each character, then the length
  std::vector<uint16_t> Codes;
  bool CrLf = true;

  bool LineStart(size_t I) const { return I == 0 || Codes[I - 1] == '\n'; }
  bool LineEnd(size_t I) const { return I == Codes.size() || Codes[I] == (CrLf ? '\r' : '\n'); }
};

Text Split(const std::string& S, bool CrLf) {
  Text T;
  T.CrLf = CrLf;
  size_t I = 0;
  while (I < S.size() && S[I] != '\0') {
    T.Offsets.push_back(static_cast<int>(I));
    const auto B = static_cast<unsigned char>(S[I]);
    if (Lead(B) && I + 1 < S.size() && S[I + 1] != '\0') {
      T.Codes.push_back(static_cast<uint16_t>(B << 8 | static_cast<unsigned char>(S[I + 1])));
      I += 2;
    } else {
      T.Codes.push_back(B);
      I += 1;
    }
  }
  T.Offsets.push_back(static_cast<int>(I));
  return T;
}

bool Accepts(const Node& N, uint16_t Code) {
  bool In = false;
  for (const auto& [Lo, Hi] : N.Ranges) In = In || (Lo <= Code && Code <= Hi);
  if (!N.Negated) return In;
  const bool Any = Code != 0 && Code != 10 && Code != 13 && Code <= 0xFCFC;
  return Any && !In;
}

// Character indices where N can end when it starts at I. A ^ counts as a line start only where it
// begins the whole expression, a $ as a line end only where it ends it; elsewhere both are literal.
std::set<size_t> Ends(const Node& N, const Text& T, size_t I, bool First, bool Last) {
  const auto Literal = [&](uint16_t C) {
    return I < T.Codes.size() && T.Codes[I] == C ? std::set<size_t>{I + 1} : std::set<size_t>{};
  };
  switch (N.K) {
    case Node::Empty: return {I};
    case Node::Chars: return I < T.Codes.size() && Accepts(N, T.Codes[I]) ? std::set<size_t>{I + 1} : std::set<size_t>{};
    case Node::Head: return First ? (T.LineStart(I) ? std::set<size_t>{I} : std::set<size_t>{}) : Literal('^');
    case Node::Tail: return Last ? (T.LineEnd(I) ? std::set<size_t>{I} : std::set<size_t>{}) : Literal('$');
    case Node::Alt: {
      std::set<size_t> R = Ends(*N.A, T, I, First, Last);
      for (size_t E : Ends(*N.B, T, I, First, Last)) R.insert(E);
      return R;
    }
    case Node::Cat: {
      std::set<size_t> R;
      for (size_t M : Ends(*N.A, T, I, First, false))
        for (size_t E : Ends(*N.B, T, M, false, Last)) R.insert(E);
      return R;
    }
    case Node::Star: {
      std::set<size_t> R{I};
      std::vector<size_t> Work{I};
      while (!Work.empty()) {
        const size_t M = Work.back();
        Work.pop_back();
        for (size_t E : Ends(*N.A, T, M, false, false))
          if (R.insert(E).second) Work.push_back(E);
      }
      return R;
    }
  }
  return {};
}

}  // namespace

Result Match(const std::string& Expr, const std::string& S, bool CrLf) {
  Result R;
  NodeP Root;
  try {
    Root = Parser(Expr).Whole();
  } catch (const Bad&) {
    return R;
  }
  R.Valid = true;
  const Text T = Split(S, CrLf);
  for (size_t I = 0; I <= T.Codes.size(); ++I) {
    const std::set<size_t> E = Ends(*Root, T, I, true, true);
    if (E.empty()) continue;
    R.Pos = T.Offsets[I] + 1;
    R.Len = T.Offsets[*E.rbegin()] - T.Offsets[I];
    return R;
  }
  return R;
}

}  // namespace tesvarin::oracle
