#pragma once
// The per-user settings in the platform's own store: organisation and
// application "Brin", section "Settings", one text value per key.

#include <QSettings>

#include "game/ports.h"

namespace brindle {

class QtSettings final : public SettingsStore {
public:
    QtSettings();
    std::string read(std::string_view key, std::string_view defaultValue) const override;
    void write(std::string_view key, std::string_view value) override;
    void remove(std::string_view key) override;

private:
    QSettings settings_;
};

} // namespace brindle
