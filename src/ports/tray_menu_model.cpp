#include "ports/tray_menu_model.h"

#include "ports/menu_ids.h"

#include <algorithm>

namespace portmaven::ports {

TrayMenuModel BuildTrayMenuModel(std::span<const std::u16string> portLabels,
                                 const config::CommandList& commands) {
    TrayMenuModel model;

    const int commandCount = std::min(commands.GetCount(), kMaxCommandItems);
    if (commandCount == 0) {
        model.commandItems.push_back(
            {.id = kFirstCommandId, .text = u"<Empty>", .greyed = true, .bitmapId = kNoBitmap});
    }
    model.commandItems.reserve(static_cast<std::size_t>(commandCount));
    for (int i = 0; i < commandCount; ++i) {
        model.commandItems.push_back(
            {.id = kFirstCommandId + i,
             .text = std::u16string(config::FieldText(commands.At(i).szName)),
             .greyed = false,
             .bitmapId = kCommandBitmap});
    }

    model.portEntries.reserve(portLabels.size());
    for (const std::u16string& label : portLabels) {
        model.portEntries.push_back({.label = label, .bitmapId = kPortBitmap});
    }
    if (portLabels.empty()) {
        model.topItems.push_back({.id = kNoSerialPortsId,
                                  .text = u"<No Serial Ports>",
                                  .greyed = true,
                                  .bitmapId = kNoBitmap});
    }

    model.fixedItemBitmaps = {{kDeviceManagerId, kDeviceManagerBitmap},
                              {kPropertiesId, kPropertiesBitmap},
                              {kAboutId, kAboutBitmap},
                              {kExitId, kExitBitmap}};
    return model;
}

} // namespace portmaven::ports
