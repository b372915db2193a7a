// The command list of a running tray program, from the one reading of its store to the write
// at Exit. Both programs keep their commands this way; each gives the store of its platform.
#pragma once

#include "config/command_list.h"
#include "config/configure_presenter.h"

namespace portmaven::config {

// Where a program keeps its command list between runs. It also saves for the Configure
// dialog, so that Close and Exit write to the same place.
class CommandStore : public CommandListSaver {
public:
    // Fills the list: the stored records; the platform's default command when nothing has
    // been stored yet; nothing when the store cannot be read.
    virtual void LoadCommandList(CommandList& list) = 0;
};

class CommandListOwner {
public:
    explicit CommandListOwner(CommandStore& store, CommandList& list = g_CommandList) noexcept
        : store_(store), list_(list) {}

    // Reads the list the first time; later calls change nothing. A program that nobody can
    // reach yet (no tray icon) calls it once it can be reached.
    void LoadOnce();
    [[nodiscard]] bool IsLoaded() const noexcept { return loaded_; }

    // Writes the list back at Exit; false when nothing was written. A list that was never read
    // is not written: it would replace the user's commands with nothing.
    bool SaveAtExit();

    [[nodiscard]] CommandList& List() noexcept { return list_; }
    // What the Configure dialog saves through.
    [[nodiscard]] CommandListSaver& Saver() noexcept { return store_; }

private:
    CommandStore& store_;
    CommandList& list_;
    bool loaded_ = false;
};

} // namespace portmaven::config
