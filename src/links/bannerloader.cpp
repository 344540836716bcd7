// SPDX-License-Identifier: MIT
#include "links/bannerloader.h"

#include "files/toolfiles.h"
#include "links/enginemessages.h"

#include <QEvent>
#include <QLibrary>
#include <QLoggingCategory>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace tarnwell::links {

namespace {

using ShowBanner = int (*)(QWidget *, const char *);

// Silent unless asked for (QT_LOGGING_RULES="tarnwell.banner.info=true"): says when the first page is done.
Q_LOGGING_CATEGORY(lcBanner, "tarnwell.banner", QtWarningMsg)

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

bool loadBanner(const QString &folder, QWidget *area, const QString &address)
{
    if (!area || folder.isEmpty())
        return false;
    const QString path = tarnwell::findBannerModule(folder);
    if (path.isEmpty())
        return false;
    // The engine speaks up as soon as its library is loaded, before the module runs.
    beginEngineStart();
    // Never unloaded: the web engine keeps threads of its own until the program ends.
    QLibrary module(path);
    const auto show = reinterpret_cast<ShowBanner>(module.resolve("tarnwell_banner_show"));
    QObject *view = show && show(area, address.toUtf8().constData()) == 1
        ? area->findChild<QObject *>(QStringLiteral("BannerView"))
        : nullptr;
    if (!view) {
        endEngineStart();
        return false;
    }
    // The engine goes on starting until its first page has loaded or failed; the view's signal
    // is named, as this side knows nothing of the engine's classes.
    auto *marker = new QObject(view);
    QObject::connect(marker, &QObject::destroyed, [] {
        endEngineStart();
        qCInfo(lcBanner, "first page loaded or failed");
    });
    QObject::connect(view, SIGNAL(loadFinished(bool)), marker, SLOT(deleteLater()));
    return true;
}

void loadBannerAfterFirstPaint(const QString &folder, QWidget *area, const QString &address)
{
    if (area)
        new FirstPaintWatcher(area, folder, address);
}

} // namespace tarnwell::links
