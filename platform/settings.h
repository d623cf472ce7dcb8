#pragma once
// The per-user settings in the platform's own store: organisation and
// application "Brin", section "Settings", one text value per key.
// Changes are seen at once by every reader in this process; the file is
// written from the event loop soon after, and when the store goes.

#include <QSettings>

#include "game/ports.h"

namespace brindle {

class QtSettings final : public SettingsStore {
public:
    QtSettings();
    std::string read(std::string_view key, std::string_view defaultValue) const override;
    void write(std::string_view key, std::string_view value) override;
    void remove(std::string_view key) override;
    std::vector<std::string> keys() const override;

private:
    QSettings settings_;
};

} // namespace brindle
