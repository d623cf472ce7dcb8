#include "settings.h"

namespace brindle {

namespace {

QString key(std::string_view name)
{
    return QStringLiteral("Settings/") + QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

} // namespace

QtSettings::QtSettings() : settings_(QStringLiteral("Brin"), QStringLiteral("Brin")) {}

std::string QtSettings::read(std::string_view name, std::string_view defaultValue) const
{
    const QVariant value = settings_.value(key(name));
    if (!value.isValid())
        return std::string(defaultValue);
    // A value typed by hand with a comma in it and no quotes comes back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", ")).toStdString();
    return value.toString().toStdString();
}

void QtSettings::write(std::string_view name, std::string_view value)
{
    settings_.setValue(key(name), QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
    settings_.sync();
}

void QtSettings::remove(std::string_view name)
{
    settings_.remove(key(name));
    settings_.sync();
}

} // namespace brindle
