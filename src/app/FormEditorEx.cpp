#include "app/FormEditorEx.h"

namespace tesvarin {

void TFormEditorEx::ToTop() {
  FEditor.CleanSelection();
  FEditor.SetRowCol(0, 0);
  FEditor.SetModified(false);
}

// A failed read leaves an empty text, never the previous file's.
TFileStamp TFormEditorEx::LoadFromFile(const std::string& Path) {
  TFileStamp Stamp;
  try {
    FEditor.Lines().LoadFromFile(Path, &Stamp);
  } catch (...) {
    FEditor.Lines().Clear();
    ToTop();
    throw;
  }
  ToTop();
  return Stamp;
}

void TFormEditorEx::LoadBytes(std::string_view Bytes) {
  FEditor.Lines().LoadFromBytes(Bytes);
  ToTop();
}

void TFormEditorEx::Clear() {
  FEditor.Lines().Clear();
  ToTop();
}

void TFormEditorEx::SetFocus() {
  if (IEditorWindow* W = FEditor.Window()) W->SetFocus();
}

void TFormEditorEx::RemoveDelimiters(std::string_view Chars) {
  TByteSet D = FEditor.Delimiters();
  for (char Ch : Chars) D.Exclude(static_cast<unsigned char>(Ch));
  FEditor.SetDelimiters(D);
}

}  // namespace tesvarin
