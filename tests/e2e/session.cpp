#include "tests/e2e/session.h"

#include <commctrl.h>

#include <cstdlib>
#include <sstream>

bool Session::Start(const std::string& arguments, const std::string& currentDirectory) {
  main = StartMainWindow(program, folder, arguments, currentDirectory);
  if (!main) return false;
  toolbar = FindChild(main, TOOLBARCLASSNAMEA);
  statusBar = FindChild(main, STATUSCLASSNAMEA);
  view = FindChild(main, "VTRCHILD");
  return Expect(toolbar && statusBar && view, "the toolbar, the status bar and the image view exist");
}

bool Session::TitleBecomes(const std::string& title) const {
  return ExpectEqual(WaitUntil([&] { return WindowText(main) == title; }) ? title : WindowText(main), title,
                     "the title");
}

void Session::ClickToolbarButton(int command) {
  const POINT centre = ToolbarButtonCentre(program, toolbar, command);
  ClickAt(ScreenPointOf(toolbar, centre.x, centre.y));
}

std::string Session::TooltipOf(int command) {
  const POINT centre = ToolbarButtonCentre(program, toolbar, command);
  // A move onto the button from just above it, as the tooltip needs.
  MoveMouseTo(ScreenPointOf(toolbar, centre.x, centre.y - 3));
  Sleep(200);
  MoveMouseTo(ScreenPointOf(toolbar, centre.x, centre.y));
  std::string shown;
  WaitUntil([&] { return !(shown = VisibleTooltipText(program, 200)).empty(); }, 8000);
  return shown;
}

namespace {

std::vector<std::string> StateLineFields(const std::string& text) {
  std::stringstream split(text.substr(0, text.find('\n')));
  std::vector<std::string> fields;
  for (std::string field; fields.size() < 20 && std::getline(split, field, ',');) fields.push_back(field);
  return fields;
}

}  // namespace

bool SetStateFields(const std::string& patternFile, std::initializer_list<std::pair<int, int>> fields) {
  const std::string text = FileBytes(patternFile);
  const size_t lineEnd = text.find("\r\n");
  std::vector<std::string> state = StateLineFields(text);
  if (lineEnd == std::string::npos || state.size() < 20) return false;
  for (const auto& [number, value] : fields) state[size_t(number)] = std::to_string(value);
  std::string line;
  for (const std::string& field : state) line += field + ",";
  return WriteFileBytes(patternFile, line + text.substr(lineEnd));
}

std::vector<int> StateFields(const std::string& patternFile) {
  std::vector<int> numbers;
  for (const std::string& field : StateLineFields(FileBytes(patternFile))) numbers.push_back(std::atoi(field.c_str()));
  return numbers;
}
