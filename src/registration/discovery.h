// SPDX-License-Identifier: MIT
// Finding the game's installations without the user browsing: Steam libraries, other launchers'
// lists of installed games, and the usual games folder. Bounded in entries, sizes and time.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>

class QThread;

namespace tarnwell {

struct Installation {
    QString caption; // where it was found and the game folder's name: "Steam: Quillvane"
    QString exePath; // native, as found below the library or folder that holds it
};

// The places the system's own settings name (the registry on Windows; none elsewhere).
struct SystemPlaces {
    QStringList steamRoots;
    QStringList gameFolders; // game folders of launchers that list them there
};
[[nodiscard]] SystemPlaces systemPlaces();

struct DiscoveryLimits {
    int entries = 20000;          // folder entries and manifests looked at, in all
    qint64 listBytes = 4 << 20;   // a library list or a launcher's list larger than this is none
    int milliseconds = 10000;     // then the search stops with what it has
};

// Every installation (a `Binaries/QVX.EXE`, letter case ignored) below the home folder's Steam
// roots (native, Flatpak, Snap), the libraries their libraryfolders.vdf names, Heroic's lists of
// installed games, ~/Games/Heroic and ~/Games, and the system's places; each once, by the file it
// really is. Steam's first. Stops early when `stop` becomes true.
[[nodiscard]] QList<Installation> findInstallations(const QString &home, const SystemPlaces &system,
                                                    const DiscoveryLimits &limits = {},
                                                    const std::atomic<bool> *stop = nullptr);

// The search on a thread of its own, so that the window never waits for a slow disk.
class DiscoveryTask : public QObject
{
    Q_OBJECT

public:
    explicit DiscoveryTask(const QString &home, QObject *parent = nullptr);
    ~DiscoveryTask() override; // stops the search and waits for its thread

    void start();
    // Valid once finished() has been emitted.
    const QList<Installation> &result() const { return m_result; }

signals:
    void finished();

private:
    QString m_home;
    std::atomic<bool> m_stop{false};
    QThread *m_thread = nullptr;
    QList<Installation> m_result;
};

} // namespace tarnwell
