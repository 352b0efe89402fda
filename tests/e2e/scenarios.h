// The end-to-end scenarios: each drives vitrelle.exe as a user would and
// returns whether everything it checked held. A scenario file registers its
// scenarios with VITRELLE_SCENARIO; the driver lists them sorted by name.
#pragma once

#include <map>
#include <string>

using ScenarioFunction = bool (*)();

// Every registered scenario by name.
std::map<std::string, ScenarioFunction>& Scenarios();

struct ScenarioRegistration {
  ScenarioRegistration(const char* name, ScenarioFunction run) { Scenarios()[name] = run; }
};

#define VITRELLE_SCENARIO_JOIN2(a, b) a##b
#define VITRELLE_SCENARIO_JOIN(a, b) VITRELLE_SCENARIO_JOIN2(a, b)
#define VITRELLE_SCENARIO(name, function) \
  static const ScenarioRegistration VITRELLE_SCENARIO_JOIN(scenarioRegistration, __LINE__)(name, function)
