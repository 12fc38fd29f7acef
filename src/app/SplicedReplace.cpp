#include "app/SplicedReplace.h"

#include <algorithm>
#include <cstring>

#include "app/FileContentTest.h"
#include "editor/text/EditorScreenStrings.h"
#include "editor/text/LineScan.h"
#include "support/ByteSearch.h"
#include "support/EncodingConverter.h"
#include "support/Exception.h"
#include "support/Sjis.h"
#include "support/SjisCodec.h"

namespace tesvarin {

namespace {

// The block of whole lines from At: its text ends at End and the next begins at Next, after the
// Break between them. False for the text's last block, which runs to its end. A block never ends
// inside a line, so no double-byte character and no CR LF is split.
bool CutBlock(std::string_view Text, size_t At, size_t BlockSize, size_t& End, size_t& Next, TLineBreak& Break) {
  End = Next = Text.size();
  if (Text.size() - At <= BlockSize) return false;
  const char* const D = Text.data();
  const size_t Limit = At + BlockSize;
  const auto* Lf = static_cast<const char*>(memrchr(D + At, '\n', Limit - At));
  const size_t AfterLf = Lf == nullptr ? At : static_cast<size_t>(Lf - D) + 1;
  const auto* Cr = static_cast<const char*>(memrchr(D + AfterLf, '\r', Limit - AfterLf));
  const char* P = Cr != nullptr ? Cr : Lf;
  // A line longer than a block is a block of its own.
  if (P == nullptr) P = FindAnyByte(D + Limit, D + Text.size(), "\r\n");
  if (P == D + Text.size()) return false;
  End = static_cast<size_t>(P - D);
  if (*P == '\r' && End + 1 < Text.size() && D[End + 1] == '\n') {
    Next = End + 2;
    Break = lbCrLf;
  } else if (*P == '\n' && End > At && D[End - 1] == '\r') {
    Next = End + 1;
    --End;
    Break = lbCrLf;
  } else {
    Next = End + 1;
    Break = *P == '\r' ? lbCr : lbLf;
  }
  return true;
}

}  // namespace

int FindReplaceSpots(TEditorExSearch& Search, std::string_view Bytes, std::string_view Replacement, bool ExpandCrLf,
                     TReplaceSpots& Spots, size_t BlockSize) {
  if (Search.FindString().empty()) return 0;
  // The viewer's lines end at the first Ctrl+Z; the bytes from there on are never replaced in.
  const size_t Stop = Bytes.find(CtrlZ);
  const std::string_view Text = Bytes.substr(0, Stop);
  if (Search.IsWholeTextMode()) BlockSize = Text.size();
  BlockSize = std::max<size_t>(BlockSize, 1);
  int Count = 0;
  std::string Lines, Breaks;
  TBigString Out;
  TReplaceSpots Found;
  bool Before = false;  // a break came before the block
  TLineBreak PreviousBreak = lbCrLf;
  for (size_t At = 0;;) {
    size_t End = 0, Next = 0;
    TLineBreak Break = lbCrLf;
    const bool More = CutBlock(Text, At, BlockSize, End, Next, Break);
    const std::string_view Block = Text.substr(At, End - At);
    if (!RawBytesRuleOut(Search, Block)) {
      Lines.clear();
      Breaks.clear();
      ForEachLine(Block, [&](std::string_view Line, int Kind) {
        Lines.append(Line);
        if (Kind < 0) return;
        Lines.append("\r\n");
        Breaks.push_back(static_cast<char>(LineBreakOfKind(Kind)));
      });
      // The block's last line takes the break after it; the text's last line, which has none,
      // the last break before it, as the viewer's lines give it.
      if (More) Breaks.push_back(static_cast<char>(Break));
      else if (Breaks.empty() && Before) Breaks.push_back(static_cast<char>(PreviousBreak));
      Found.clear();
      Count += Search.ReplaceAllText(Lines, Breaks, Replacement, ExpandCrLf, Out, &Found);
      for (TReplaceSpot& S : Found) {
        S.Offset += At;
        Spots.push_back(std::move(S));
      }
    }
    if (!More) break;
    Before = true;
    PreviousBreak = Break;
    At = Next;
  }
  return Count;
}

std::string InEncoding(std::string_view Cp932, TTextEncoding Encoding) {
  std::string Out;
  size_t Bad = 0;
  if (!ConvertFromCp932(Cp932, Encoding, Out, &Bad)) {
    throw EConvertError("文字「" + Cp932ToUtf8Lossy(Cp932.substr(Bad, CharLength(Cp932, Bad))) + "」は " +
                        std::string(EncodingName(Encoding)) + " で表せないため保存できません");
  }
  return Out;
}

TByteSplices SplicesOf(const TReplacePlan& Plan, std::string_view Bytes, TTextEncoding Encoding) {
  TByteSplices Splices;
  if (Encoding == teShiftJis) {
    for (const TPlannedHit& H : Plan.Hits)
      if (H.Ticked) Splices.push_back({H.Offset, H.Old.size(), H.New});
    return Splices;
  }
  std::vector<size_t> Places;
  for (const TPlannedHit& H : Plan.Hits) {
    if (!H.Ticked) continue;
    Places.push_back(static_cast<size_t>(H.Offset));
    Places.push_back(static_cast<size_t>(H.Offset + H.Old.size()));
  }
  const std::vector<size_t> Source = SourceOffsets(Bytes, Encoding, Places);
  size_t I = 0;
  for (const TPlannedHit& H : Plan.Hits) {
    if (!H.Ticked) continue;
    const size_t From = Source[I], To = Source[I + 1];
    I += 2;
    // Each character of the hit must read back as the very bytes it was found in.
    std::string Old;
    if (!ConvertToCp932(Bytes.substr(From, To - From), Encoding, Old) || Old != H.Old) {
      throw EConvertError("置換する箇所に " + std::string(EncodingName(Encoding)) +
                          " からシフトJISに変換すると元に戻らない文字があるため置換しませんでした");
    }
    Splices.push_back({From, To - From, InEncoding(H.New, Encoding)});
  }
  return Splices;
}

}  // namespace tesvarin
