// The current file in its own encoding: loaded converted to code page 932, saved converted back.
#include "app/Form1.h"
#include "app/SplicedReplace.h"
#include "support/EncodingConverter.h"
#include "support/Exception.h"
#include "support/Sjis.h"
#include "support/SjisCodec.h"

namespace tesvarin {

namespace {

constexpr size_t EncodingColumn = 6;  // of the sub-items

}  // namespace

TTextEncoding TForm1::RowEncoding(const TListItem& Row) {
  if (Row.SubItems.size() > EncodingColumn) {
    for (TTextEncoding E : {teUtf8, teUtf8Bom, teEucJp, teUtf16Le, teUtf16Be}) {
      if (Row.SubItems[EncodingColumn] == EncodingName(E)) return E;
    }
  }
  return teShiftJis;
}

void TForm1::LoadCurrentFile(const std::string& Path, TTextEncoding Encoding) {
  FLoadedStamp.reset();
  FCurrentEncoding = Encoding;
  FCurrentLossless = true;
  Editor.SetReadOnly(false);
  C.fEncoding.SetCaption(std::string(EncodingName(Encoding)));
  if (Encoding == teShiftJis) {
    FLoadedStamp = Editor.LoadFromFile(Path);
  } else {
    // As a failed load leaves it, should the file not be read.
    Editor.Clear();
    std::string Bytes;
    const TFileStamp Stamp = ReadFileStamped(Path, Bytes);
    std::string Text;
    FCurrentLossless = ConvertToCp932(Bytes, Encoding, Text);
    Editor.LoadBytes(Text);
    FLoadedStamp = Stamp;
    Editor.SetReadOnly(!FCurrentLossless);
  }
  Editor.SetModified(false);
}

std::string TForm1::ReadOnlyNote() const {
  if (FCurrentLossless) return {};
  return "シフトJISで表せない文字か、" + std::string(EncodingName(FCurrentEncoding)) +
         " として正しくないバイトがあるため、読み取り専用で開きました。";
}

// Every character of a text loaded losslessly converts back to its own bytes, so only the
// replaced characters differ from the file's.
std::string TForm1::CurrentFileBytes() const { return InCurrentEncoding(Editor.SaveText()); }

std::string TForm1::InCurrentEncoding(std::string Text) const {
  if (FCurrentEncoding == teShiftJis) return Text;
  return std::string(ByteOrderMark(FCurrentEncoding)) + InEncoding(Text, FCurrentEncoding);
}

}  // namespace tesvarin
