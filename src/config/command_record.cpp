#include "config/command_record.h"

namespace portmaven::config {

tag_ST_PORTMAVEN_CONFIG MakeCommandRecord(std::u16string_view name, std::u16string_view command) {
    tag_ST_PORTMAVEN_CONFIG record{};
    SetFieldText(record.szName, name);
    SetFieldText(record.szCommand, command);
    return record;
}

tag_ST_PORTMAVEN_CONFIG NormalizedCopy(const tag_ST_PORTMAVEN_CONFIG& source) {
    return MakeCommandRecord(FieldText(source.szName), FieldText(source.szCommand));
}

} // namespace portmaven::config
