// A vitrelle.exe of a folder of its own, started and found as the scenarios
// of the main window use it, and the state line of its Pattern file.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/driver.h"

struct Session {
  std::string folder;
  Program program;
  HWND main = nullptr, toolbar = nullptr, statusBar = nullptr, view = nullptr;

  Session() = default;
  // A fresh copy of the program (MakeProgramCopy) to start.
  explicit Session(const std::string& copyName) : folder(MakeProgramCopy(copyName)) {}

  std::string PatternFile() const { return folder + "\\vitrelle.cfg"; }
  // Starts the program and finds the toolbar, the status bar and the view.
  bool Start(const std::string& arguments = "", const std::string& currentDirectory = "");
  // Closes the window as its close box does, answering No to the question
  // about an unsaved picture; true once the program ended with exit code 0.
  bool Close() { return CloseProgram(program, main); }

  std::string Status() const { return WindowText(statusBar); }
  HWND Panel() const { return FindChild(main, "#32770"); }
  SIZE ViewClientSize() const { return ClientSize(view); }
  // Waits until the title reads `title`; says the title it has when not.
  bool TitleBecomes(const std::string& title) const;
  void ClickToolbarButton(int command);
  // The tooltip that shows while the mouse rests on the toolbar button.
  std::string TooltipOf(int command);
};

// Changes fields of the Pattern file's state line (field numbers from 0):
// 17 is the mirror mode, 18 and 19 the size that Make grows.
bool SetStateFields(const std::string& patternFile, std::initializer_list<std::pair<int, int>> fields);
// The first 20 fields of the Pattern file's state line.
std::vector<int> StateFields(const std::string& patternFile);
