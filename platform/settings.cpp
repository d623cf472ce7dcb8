#include "platform/settings.h"

namespace brindle {

namespace {

const QString Section = QStringLiteral("Settings/");

QString key(std::string_view name)
{
    return Section + QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
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
    // No sync here: a list of thousands of saved hosts rewrites thousands of
    // keys at a time, and the file would be written out after each.
    settings_.setValue(key(name), QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

void QtSettings::remove(std::string_view name)
{
    settings_.remove(key(name));
}

std::vector<std::string> QtSettings::keys() const
{
    std::vector<std::string> out;
    for (const QString& k : settings_.allKeys())
        if (k.startsWith(Section) && k.indexOf(QLatin1Char('/'), Section.size()) < 0)
            out.push_back(k.mid(Section.size()).toStdString());
    return out;
}

} // namespace brindle
