// A temporary tree and a main window over it, shared by the window's tests with either editor.
#pragma once

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "support/StringList.h"
#include "testsupport/Fakes.h"

namespace tesvarin::test {

namespace fs = std::filesystem;

// The editor the window talks to: the object itself, or the adapter a holder keeps.
inline IFormEditor& FormEditorOf(IFormEditor& E) { return E; }

struct Tree {
  Tree() {
    std::string Template = (fs::temp_directory_path() / "tesvarin-form-XXXXXX").string();
    Root = mkdtemp(Template.data());
    fs::create_directories(Root + "/data");
  }
  ~Tree() {
    std::error_code Ec;
    for (auto& E : fs::recursive_directory_iterator(Root, Ec)) fs::permissions(E.path(), fs::perms::owner_all, fs::perm_options::add, Ec);
    fs::remove_all(Root, Ec);
  }
  void Write(const std::string& Name, const std::string& Bytes) const {
    fs::create_directories(fs::path(Root + "/t/" + Name).parent_path());
    WriteFileBytes(Root + "/t/" + Name, Bytes);
  }
  [[nodiscard]] std::string Read(const std::string& Name) const { return ReadFileBytes(Root + "/t/" + Name); }
  [[nodiscard]] std::string T() const { return Root + "/t"; }
  std::string Root;
};

template <class EditorT>
struct BasicWindow {
  explicit BasicWindow(const Tree& Tr, std::vector<std::string> Args = {}, std::vector<TBounds> Screens = {},
                       bool Journal = false) {
    TFormEnvironment Env;
    Env.Journal = Journal;
    Env.ProgramFolder = Tr.Root + "/prog/";
    fs::create_directories(Env.ProgramFolder);
    Env.ConfigFolder = Tr.Root + "/config";
    fs::create_directories(*Env.ConfigFolder);
    Env.DefaultDataFolder = Tr.Root + "/data/";
    Env.Arguments = std::move(Args);
    Env.ScreenAreas = std::move(Screens);
    Env.Today = [] { return TDate{2024, 3, 15}; };
    Form = std::make_unique<TForm1>(C, P.Platform(), FormEditorOf(E), Env);
    Form->FormCreate();
    Form->FormShow();
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> N;
    for (const TListItem& I : C.FileList.Items()) N.push_back(I.Caption);
    std::sort(N.begin(), N.end());
    return N;
  }
  void Search(const std::string& Folder, const std::string& Name = "", const std::string& Word = "") {
    C.cFolderName.SetText(Folder);
    C.cFileName.SetText(Name);
    C.cFindWord.SetText(Word);
    C.Button1.Click();
  }
  TMainFormControls C;
  FakePlatform P;
  EditorT E;
  std::unique_ptr<TForm1> Form;
};

}  // namespace tesvarin::test
