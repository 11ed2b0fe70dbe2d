#include "app/AutosaveFile.h"

#include "core/Autosave.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <memory>

namespace {

// More copies than this at once are not expected; beyond, the last slot is
// shared rather than the autosave given up.
constexpr int SlotCount = 64;

struct HeldSlot {
    int slot = 0;
    std::unique_ptr<QLockFile> lock;
};

HeldSlot &held()
{
    static HeldSlot slot;
    return slot;
}

QString folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

// The lock of `slot` if no live copy holds it; a copy that died leaves a
// stale lock, which QLockFile recognises by its process id and takes over.
std::unique_ptr<QLockFile> tryLockSlot(int slot)
{
    auto lock = std::make_unique<QLockFile>(autosaveSlotLock(slot));
    // The lock is held for the whole run: only a dead holder makes it stale.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

} // namespace

QString autosaveSlotFile(int slot)
{
    return folder() + QStringLiteral("/autosave-%1.txt").arg(slot);
}

QString autosaveSlotLock(int slot)
{
    return folder() + QStringLiteral("/autosave-%1.lock").arg(slot);
}

namespace {

// Takes the first free slot; with `adoptOrphan`, the first free one that
// holds an autosave if there is one.
void claimSlot(bool adoptOrphan)
{
    HeldSlot &slot = held();
    if (slot.slot != 0)
        return;
    QDir().mkpath(folder());
    int firstFree = 0;
    std::unique_ptr<QLockFile> firstFreeLock;
    for (int n = 1; n <= SlotCount; ++n) {
        std::unique_ptr<QLockFile> lock = tryLockSlot(n);
        if (!lock)
            continue;
        const bool holdsAutosave = QFile::exists(autosaveSlotFile(n));
        if (adoptOrphan && holdsAutosave) {
            slot.slot = n;
            slot.lock = std::move(lock);
            return;
        }
        if (firstFree == 0 && !holdsAutosave) {
            firstFree = n;
            firstFreeLock = std::move(lock);
        }
    }
    // Without a lock (no free slot, a folder that refuses it) the last slot
    // still gives this copy somewhere to keep its table.
    slot.slot = firstFree != 0 ? firstFree : SlotCount;
    slot.lock = std::move(firstFreeLock);
}

} // namespace

// Versions before the slots kept one autosave.txt; one left by such a
// version's abnormal end becomes the autosave of the slot just taken, so that
// it is still offered.
void adoptUnslottedAutosave()
{
    const QString unslotted = folder() + QStringLiteral("/autosave.txt");
    const QString own = autosaveSlotFile(held().slot);
    if (QFile::exists(unslotted) && !QFile::exists(own))
        QFile::rename(unslotted, own);
}

void claimAutosaveSlot()
{
    claimSlot(true);
    adoptUnslottedAutosave();
}

void releaseAutosaveSlot()
{
    held() = HeldSlot();
}

QString autosaveFilePath()
{
    claimSlot(false);
    return autosaveSlotFile(held().slot);
}

bool autosaveExists()
{
    return QFile::exists(autosaveFilePath());
}

void writeAutosave(const InputTable &table)
{
    const QString path = autosaveFilePath();
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    const std::string text = AutosaveText(table);
    file.write(text.data(), static_cast<qint64>(text.size()));
    file.commit();
}

std::optional<InputTable> readAutosave()
{
    QFile file(autosaveFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    return ReadAutosaveText(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void removeAutosave()
{
    QFile::remove(autosaveFilePath());
}
