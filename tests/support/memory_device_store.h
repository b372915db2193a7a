// The user's settings for devices held in memory: values by name, any of which may be stored as
// something other than text, and writes that can be made to fail.
#pragma once

#include "ports/device_settings.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace portmaven::test {

class MemoryDeviceStore final : public ports::DeviceSettingsStore {
public:
    std::optional<std::u16string> Read(std::u16string_view valueName) override {
        const auto found = values.find(std::u16string(valueName));
        if (found == values.end() || !found->second) {
            return std::nullopt;
        }
        return *found->second;
    }
    bool Write(std::u16string_view valueName, std::u16string_view text) override {
        if (failWrites) {
            return false;
        }
        values[std::u16string(valueName)] = std::u16string(text);
        return true;
    }
    bool Remove(std::u16string_view valueName) override {
        values.erase(std::u16string(valueName));
        return true;
    }

    // nullopt: a value that is not text.
    std::map<std::u16string, std::optional<std::u16string>> values;
    bool failWrites = false;
};

} // namespace portmaven::test
