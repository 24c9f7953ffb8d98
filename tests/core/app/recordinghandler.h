// A game-state handler that keeps every write offered to it, as "key=value"
// in order, and lets it through to the game state.
#pragma once

#include <string>
#include <vector>

#include "core/app/gamestatehandler.h"

class RecordingHandler : public TGameStateHandler {
public:
    bool HandleSetState(const char* key, const char* value) override {
        records.push_back(std::string(key) + "=" + value);
        return false;
    }
    std::vector<std::string> records;
};

// The records of the keys given, in order.
inline std::vector<std::string> Only(const RecordingHandler& handler, const std::vector<std::string>& keys) {
    std::vector<std::string> kept;
    for (const std::string& record : handler.records) {
        for (const std::string& key : keys) {
            if (record.compare(0, key.size() + 1, key + "=") == 0) kept.push_back(record);
        }
    }
    return kept;
}
