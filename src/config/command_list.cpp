#include "config/command_list.h"

#include <stdexcept>
#include <string>

namespace portmaven::config {

CommandList g_CommandList;

const tag_ST_PORTMAVEN_CONFIG& CommandList::At(int index) const {
    if (index < 0 || index >= GetCount()) {
        throw std::out_of_range("command index " + std::to_string(index) + " outside the list");
    }
    return records_[static_cast<std::size_t>(index)];
}

void CommandList::AppendCommand(tag_ST_PORTMAVEN_CONFIG record) {
    Normalize(record);
    records_.push_back(record);
}

void CommandList::RemoveAllCommands() noexcept {
    records_.clear();
    records_.shrink_to_fit();
}

const std::byte* CommandList::Storage() const noexcept {
    return records_.empty() ? nullptr : reinterpret_cast<const std::byte*>(records_.data());
}

std::vector<std::u16string> CommandNames(const CommandList& commands) {
    std::vector<std::u16string> names;
    names.reserve(static_cast<std::size_t>(commands.GetCount()));
    for (int i = 0; i < commands.GetCount(); ++i) {
        names.emplace_back(FieldText(commands.At(i).szName));
    }
    return names;
}

} // namespace portmaven::config
