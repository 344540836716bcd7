// SPDX-License-Identifier: MIT
#include "links/bannerloader.h"

#include "files/toolfiles.h"
#include "firstpaint.h"
#include "links/enginemessages.h"

#include <QLibrary>
#include <QLoggingCategory>
#include <QWidget>

namespace tarnwell::links {

namespace {

using ShowBanner = int (*)(QWidget *, const char *);

// Silent unless asked for (QT_LOGGING_RULES="tarnwell.banner.info=true"): says when the first page is done.
Q_LOGGING_CATEGORY(lcBanner, "tarnwell.banner", QtWarningMsg)

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
    afterFirstPaint(area, area, [folder, area, address] {
        static_cast<void>(loadBanner(folder, area, address)); // false: keeps its picture
    });
}

} // namespace tarnwell::links
