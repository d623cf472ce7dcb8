#include "platform/record_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace brindle {

KeptGameFile::KeptGameFile()
    : path_(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/brindle/last-game.sgf"))
{
}

std::string KeptGameFile::read()
{
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.read(static_cast<qint64>(record::MaxBytes));
    return bytes.toStdString();
}

std::string KeptGameFile::write(std::string_view text)
{
    QDir().mkpath(QFileInfo(path_).absolutePath());
    return writeAtomically(path_, std::string(text));
}

void KeptGameFile::drop()
{
    QFile::remove(path_);
}

std::string shownName(const QString& path)
{
    return QFileInfo(path).fileName().toStdString();
}

std::string writeAtomically(const QString& path, const std::string& text)
{
    QSaveFile file(path);
    // Unbuffered, so that a short write (a full disk) shows in write()'s
    // count; a buffered one can be cut short in commit() unnoticed.
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
                         file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
    // The error of the first step that failed; commit() would replace it.
    const QString why = file.errorString();
    if (written && file.commit())
        return {};
    return "Could not save " + shownName(path) + ": " + (written ? file.errorString() : why).toStdString() + ".";
}

std::variant<record::Record, std::string> readRecordFile(const QString& path)
{
    const std::string name = shownName(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "Could not open " + name + ": " + file.errorString().toStdString() + ".";
    const QByteArray bytes = file.read(static_cast<qint64>(record::MaxBytes) + 1);
    if (bytes.size() > static_cast<qsizetype>(record::MaxBytes))
        return name + " is larger than 1 MB, so it is not a game record.";
    const record::ReadResult result = record::read(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    if (const auto* error = std::get_if<record::Error>(&result))
        return name + ", line " + std::to_string(error->line) + ": " + error->message;
    return std::get<record::Record>(result);
}

} // namespace brindle
