#include "ProgramSettings.h"

#include "Logging.h"
#include "ui/NativeName.h"
#include "ui/SettingsStore.h"

namespace zanto {

namespace {

const QString kApplication = QStringLiteral("TOLVA");
const QString kSection = QStringLiteral("TOLVA_DATA");
const QString kMode = QStringLiteral("MODE");
const QString kPatterns = QStringLiteral("VORIS");
const QString kFolder = QStringLiteral("KALDEN");
const QString kShots = QStringLiteral("SHOTS");
const QString kShotsOn = QStringLiteral("1");

} // namespace

Mode ProgramSettings::mode() const
{
    return Mode::fromStored(read(kMode));
}

void ProgramSettings::storeMode(const Mode& mode)
{
    store(kMode, mode.stored());
}

QString ProgramSettings::patterns() const
{
    return read(kPatterns);
}

void ProgramSettings::storePatterns(const QString& patterns)
{
    store(kPatterns, patterns);
}

std::string ProgramSettings::folder() const
{
    return pathFromStorable(read(kFolder));
}

void ProgramSettings::storeFolder(const std::string& folder)
{
    store(kFolder, storablePath(folder));
}

bool ProgramSettings::shots() const
{
    return read(kShots) == kShotsOn;
}

void ProgramSettings::storeShots(bool on)
{
    // Off is stored as the empty text, as it always was.
    store(kShots, on ? kShotsOn : QString());
}

QString ProgramSettings::read(const QString& name) const
{
    return m_store.read(kApplication, kSection, name);
}

void ProgramSettings::store(const QString& name, const QString& value)
{
    if (!m_store.store(kApplication, kSection, name, value))
        qCWarning(lcZanto) << "setting not stored:" << name;
}

} // namespace zanto
