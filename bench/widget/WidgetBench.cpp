// The editor widget against QScintilla (fed UTF-8) and QPlainTextEdit on the same generated Shift-JIS
// text, offscreen, 1200 x 800, IPAGothic 10 pt. A frame is the action, one pass of pending events and
// a render of the whole widget into a reused image.
//
//   QT_QPA_PLATFORM=offscreen widget_bench [--mb 100] [--frames 200] [--repeat 1] [--peers ours,qscintilla,plain]
//
// runs each editor in a process of its own (so resident memory is its own) and prints every figure
// with its ratio to the faster peer. --peer ours|qscintilla|plain runs one and prints raw figures.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStringDecoder>
#include <QTest>
#include <QTextBlock>
#include <Qsci/qsciscintilla.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "editor/EditorEx.h"
#include "qt/EditorWidget.h"
#include "qt/Fonts.h"
#include "support/SjisCodec.h"

using namespace tesvarin;

namespace {

constexpr int TypingLine = 500000;

// Lines of 40-200 bytes mixing kanji, kana, half-width kana and ASCII words, CR LF.
std::string GenerateText(size_t Bytes) {
  const std::vector<std::string> Pieces = [] {
    std::vector<std::string> P;
    for (const char* U : {"漢字", "検索", "置換", "文字列", "日本語", "ファイル", "カタカナ", "ひらがな", "ｶﾀｶﾅ",
                          "ﾃｷｽﾄ", "表示", "編集", "alpha", "beta", "gamma", "delta", "text", "find", "42", "2026"})
      P.push_back(Utf8ToCp932(U));
    return P;
  }();
  std::mt19937 Rng(17);
  std::uniform_int_distribution<int> Len(40, 200);
  std::uniform_int_distribution<size_t> Pick(0, Pieces.size() - 1);
  std::string Out;
  Out.reserve(Bytes + 256);
  while (Out.size() < Bytes) {
    const size_t Want = static_cast<size_t>(Len(Rng));
    size_t Line = 0;
    while (Line < Want) {
      const std::string& P = Pieces[Pick(Rng)];
      Out += P;
      Out += ' ';
      Line += P.size() + 1;
    }
    Out += "\r\n";
  }
  return Out;
}

long ResidentBytes() {
  std::ifstream Statm("/proc/self/statm");
  long Size = 0;
  long Resident = 0;
  Statm >> Size >> Resident;
  return Resident * 4096;
}

double Ms(const QElapsedTimer& T) { return static_cast<double>(T.nsecsElapsed()) / 1e6; }

double Percentile(std::vector<double> V, double P) {
  std::sort(V.begin(), V.end());
  const size_t I = static_cast<size_t>(std::ceil(P * static_cast<double>(V.size()))) - 1;
  return V[std::min(I, V.size() - 1)];
}

// One editor under test: how it loads text, where its caret goes and what gets its keys.
class Peer {
public:
  virtual ~Peer() = default;
  virtual QWidget* Widget() = 0;
  virtual QWidget* KeyTarget() { return Widget(); }
  virtual void Load(const std::string& Sjis) = 0;
  virtual void GotoLine(int Line) = 0;
};

class OursPeer : public Peer {
public:
  OursPeer() : FEditor(&FWidget, TPlatform{}) {
    FWidget.SetEditor(&FEditor);
    FEditor.SetFont(TFontSpec{"FixedSys", 10, clBlack, {}});
    FEditor.SetScrollBars(ssBoth);
  }
  ~OursPeer() override { FWidget.SetEditor(nullptr); }
  QWidget* Widget() override { return &FWidget; }
  void Load(const std::string& Sjis) override { FEditor.Lines().SetLinesText(Sjis); }
  void GotoLine(int Line) override {
    FEditor.SetRowCol(Line, 0);
    FEditor.MakeCaretVisible();
  }

private:
  qt::EditorWidget FWidget;
  TEditorEx FEditor;
};

QString DecodeSjis(const std::string& Sjis) {
  QStringDecoder Decoder("windows-31j");
  if (!Decoder.isValid()) Decoder = QStringDecoder("Shift_JIS");
  return Decoder.decode(QByteArrayView(Sjis.data(), static_cast<qsizetype>(Sjis.size())));
}

class ScintillaPeer : public Peer {
public:
  ScintillaPeer() {
    FWidget.setUtf8(true);
    FWidget.setFont(qt::JapaneseFixedFont(10));
  }
  QWidget* Widget() override { return &FWidget; }
  QWidget* KeyTarget() override { return FWidget.viewport(); }
  void Load(const std::string& Sjis) override {
    const QByteArray Utf8 = DecodeSjis(Sjis).toUtf8();
    FWidget.SendScintilla(QsciScintillaBase::SCI_SETTEXT, static_cast<unsigned long>(0), Utf8.constData());
  }
  void GotoLine(int Line) override {
    FWidget.setCursorPosition(Line, 0);
    FWidget.ensureCursorVisible();
  }

private:
  QsciScintilla FWidget;
};

class PlainPeer : public Peer {
public:
  PlainPeer() {
    FWidget.setFont(qt::JapaneseFixedFont(10));
    FWidget.setLineWrapMode(QPlainTextEdit::NoWrap);
  }
  QWidget* Widget() override { return &FWidget; }
  void Load(const std::string& Sjis) override { FWidget.setPlainText(DecodeSjis(Sjis)); }
  void GotoLine(int Line) override {
    FWidget.setTextCursor(QTextCursor(FWidget.document()->findBlockByNumber(Line)));
    FWidget.ensureCursorVisible();
  }

private:
  QPlainTextEdit FWidget;
};

std::unique_ptr<Peer> MakePeer(const QString& Name) {
  if (Name == "ours") return std::make_unique<OursPeer>();
  if (Name == "qscintilla") return std::make_unique<ScintillaPeer>();
  return std::make_unique<PlainPeer>();
}

// Prints "name value" lines for the parent to read.
int RunPeer(const QString& Name, size_t Bytes, int Frames) {
  const std::string Text = GenerateText(Bytes);
  std::unique_ptr<Peer> P = MakePeer(Name);
  QWidget* W = P->Widget();
  W->resize(1200, 800);
  W->show();
  W->setFocus();
  QImage Image(W->size(), QImage::Format_ARGB32_Premultiplied);
  auto Frame = [&](auto&& Action) {
    QElapsedTimer T;
    T.start();
    Action();
    QCoreApplication::processEvents();
    W->render(&Image);
    return Ms(T);
  };
  QCoreApplication::processEvents();
  const long Before = ResidentBytes();
  const double Load = Frame([&] { P->Load(Text); });
  const long Growth = ResidentBytes() - Before;
  std::printf("load_ms %.3f\nrss_growth_mb %.1f\nfile_mb %.1f\n", Load, Growth / 1048576.0, Bytes / 1048576.0);

  std::vector<double> Pages;
  for (int I = 0; I < Frames; ++I)
    Pages.push_back(Frame([&] { QTest::keyClick(P->KeyTarget(), Qt::Key_PageDown); }));
  std::printf("pagedown_median_ms %.3f\npagedown_p99_ms %.3f\n", Percentile(Pages, 0.5), Percentile(Pages, 0.99));

  P->GotoLine(TypingLine);
  Frame([] {});
  std::vector<double> Keys;
  for (int I = 0; I < Frames; ++I) Keys.push_back(Frame([&] { QTest::keyClick(P->KeyTarget(), Qt::Key_A); }));
  std::printf("typing_median_ms %.3f\ntyping_p99_ms %.3f\n", Percentile(Keys, 0.5), Percentile(Keys, 0.99));

  std::vector<double> Static;
  for (int I = 0; I < Frames; ++I) Static.push_back(Frame([] {}));
  std::printf("static_median_ms %.3f\n", Percentile(Static, 0.5));
  return 0;
}

std::map<std::string, double> RunChild(const QString& Self, const QString& Name, const QStringList& Args) {
  QProcess Child;
  Child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  Child.start(Self, QStringList{"--peer", Name} + Args);
  Child.waitForFinished(-1);
  std::map<std::string, double> Figures;
  for (const QByteArray& Line : Child.readAllStandardOutput().split('\n')) {
    const QList<QByteArray> Parts = Line.split(' ');
    if (Parts.size() == 2) Figures[Parts[0].toStdString()] = Parts[1].toDouble();
  }
  return Figures;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication App(argc, argv);
  QStringList Args = App.arguments().mid(1);
  size_t Mb = 100;
  int Frames = 200;
  int Repeat = 1;
  QString PeerName;
  QStringList Peers{"ours", "qscintilla", "plain"};
  for (int I = 0; I + 1 < Args.size(); ++I) {
    if (Args[I] == "--mb") Mb = Args[I + 1].toULong();
    if (Args[I] == "--frames") Frames = Args[I + 1].toInt();
    if (Args[I] == "--repeat") Repeat = std::max(1, Args[I + 1].toInt());
    if (Args[I] == "--peers") Peers = Args[I + 1].split(',');
    if (Args[I] == "--peer") PeerName = Args[I + 1];
  }
  if (!PeerName.isEmpty()) return RunPeer(PeerName, Mb << 20, Frames);

  // Rounds run the editors in turn, so a change in the machine's load falls on all of them; each
  // figure is the median of its rounds.
  const QStringList Pass{"--mb", QString::number(Mb), "--frames", QString::number(Frames)};
  std::map<QString, std::map<std::string, std::vector<double>>> Runs;
  for (int R = 0; R < Repeat; ++R)
    for (const QString& Name : Peers)
      for (const auto& [Key, Value] : RunChild(App.applicationFilePath(), Name, Pass)) Runs[Name][Key].push_back(Value);
  auto Get = [&](const QString& Name, const char* Key) {
    auto It = Runs[Name].find(Key);
    return It == Runs[Name].end() ? NAN : Percentile(It->second, 0.5);
  };
  std::printf("%d round(s), %zu MB, %d frames\n", Repeat, Mb, Frames);
  std::printf("%-20s %12s %12s %12s %8s\n", "figure", "ours", "qscintilla", "plaintext", "ratio");
  for (const char* Key : {"load_ms", "rss_growth_mb", "pagedown_median_ms", "pagedown_p99_ms", "typing_median_ms",
                          "typing_p99_ms", "static_median_ms"}) {
    const double Faster = std::fmin(Get("qscintilla", Key), Get("plain", Key));
    std::printf("%-20s %12.3f %12.3f %12.3f %8.3f\n", Key, Get("ours", Key), Get("qscintilla", Key), Get("plain", Key),
                Get("ours", Key) / Faster);
  }
  return 0;
}
