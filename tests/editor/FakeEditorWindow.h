// A window for the editor control in tests: a fixed client size, fixed font metrics, and a record
// of what the editor asked of it.
#pragma once

#include <vector>

#include "platform/Platform.h"

namespace tesvarin {

class FakeEditorWindow : public IEditorWindow {
public:
  int Width = 400;
  int Height = 200;
  bool HasFocus = true;
  TTextMetrics Metrics{12, 0, 6, 10};  // 12-pixel cells, 6 pixels wide
  int HorzBar = 16;
  int VertArrow = 16;

  std::vector<TRect> Invalidated;
  int Updates = 0;
  struct TScroll {
    TRect Area;
    int Dx;
    int Dy;
  };
  std::vector<TScroll> Scrolled;
  int CaretWidth = 0;
  int CaretHeight = 0;
  TPoint CaretAt;
  int CaretShown = 0;  // shows minus hides
  bool HorzBarShown = false;
  bool VertBarShown = false;
  struct TRange {
    int Min = 0;
    int Max = 0;
    int Page = 0;
    int Pos = 0;
  };
  TRange VertRange;
  TRange HorzRange;
  TPoint ImeAt;
  std::vector<TPoint> Popups;

  [[nodiscard]] int ClientWidth() const override { return Width; }
  [[nodiscard]] int ClientHeight() const override { return Height; }
  [[nodiscard]] bool Focused() const override { return HasFocus; }
  void SetFocus() override { HasFocus = true; }
  [[nodiscard]] TTextMetrics FontMetrics(const TFontSpec&) const override { return Metrics; }
  [[nodiscard]] int HorzScrollBarHeight() const override { return HorzBar; }
  [[nodiscard]] int VertScrollArrowHeight() const override { return VertArrow; }
  void Invalidate(const TRect& Area) override { Invalidated.push_back(Area); }
  void Update() override { ++Updates; }
  void ScrollArea(const TRect& Area, int Dx, int Dy) override { Scrolled.push_back({Area, Dx, Dy}); }
  void CreateCaret(int W, int H) override {
    CaretWidth = W;
    CaretHeight = H;
  }
  void SetCaretPos(TPoint At) override { CaretAt = At; }
  void ShowCaret() override { ++CaretShown; }
  void HideCaret() override { --CaretShown; }
  void ShowScrollBars(bool Horizontal, bool Vertical) override {
    HorzBarShown = Horizontal;
    VertBarShown = Vertical;
  }
  void SetScrollRange(bool Vertical, int Min, int Max, int Page) override {
    TRange& R = Vertical ? VertRange : HorzRange;
    R.Min = Min;
    R.Max = Max;
    R.Page = Page;
  }
  void SetScrollPos(bool Vertical, int Pos) override { (Vertical ? VertRange : HorzRange).Pos = Pos; }
  void SetImePos(TPoint At) override { ImeAt = At; }
  void PopupContextMenu(TPoint At) override { Popups.push_back(At); }
};

}  // namespace tesvarin
