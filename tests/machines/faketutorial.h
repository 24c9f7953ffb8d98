// A tutorial whose current step answers one state for every object; it
// writes down the objects it was asked about and counts its advances.
#pragma once

#include <string>
#include <vector>

#include "game/objects/suspendabletutorial.h"
#include "game/progression/tutorial.h"

class FakeTutorial : public VTutorial {
public:
    explicit FakeTutorial(int state) : VTutorial("fake", 0), state(state) {}
    int GetObjectState(const TString& name) override {
        asked.emplace_back(name.c_str());
        return state;
    }
    void Advance() override { ++advances; }

    int state;
    std::vector<std::string> asked;
    int advances = 0;
};
