// The end-to-end scenarios: each drives vitrelle.exe as a user would and
// returns whether everything it checked held.
#pragma once

struct Scenario {
  const char* name;
  bool (*run)();
};

// The scenario table, ended by an entry whose name is null.
extern const Scenario kScenarios[];
