// SPDX-License-Identifier: MIT
#include "links/bannerloader.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLibrary>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace tarnwell::links {

namespace {

using ShowBanner = int (*)(QWidget *, const char *);

// Waits for the area's first paint, then loads the banner on the next turn of the event loop,
// after the painted window has reached the screen.
class FirstPaintWatcher : public QObject
{
public:
    FirstPaintWatcher(QWidget *area, const QString &folder, const QString &address)
        : QObject(area)
        , m_area(area)
        , m_folder(folder)
        , m_address(address)
    {
        area->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_area && event->type() == QEvent::Paint) {
            m_area->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                if (m_area)
                    static_cast<void>(loadBanner(m_folder, m_area, m_address)); // false: keeps its picture
                deleteLater();
            });
        }
        return false;
    }

private:
    QPointer<QWidget> m_area;
    QString m_folder;
    QString m_address;
};

} // namespace

QString bannerModulePath(const QString &folder)
{
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("tarnwell_banner.dll");
#else
    const QString name = QStringLiteral("libtarnwell_banner.so");
#endif
    return QDir(folder).filePath(name);
}

bool loadBanner(const QString &folder, QWidget *area, const QString &address)
{
    if (!area || folder.isEmpty())
        return false;
    const QString path = bannerModulePath(folder);
    if (!QFileInfo::exists(path))
        return false;
    // Never unloaded: the web engine keeps threads of its own until the program ends.
    QLibrary module(path);
    const auto show = reinterpret_cast<ShowBanner>(module.resolve("tarnwell_banner_show"));
    if (!show)
        return false;
    return show(area, address.toUtf8().constData()) == 1;
}

void loadBannerAfterFirstPaint(const QString &folder, QWidget *area, const QString &address)
{
    if (area)
        new FirstPaintWatcher(area, folder, address);
}

} // namespace tarnwell::links
