// SPDX-License-Identifier: MIT
// The banner's web view: off the record, without bars or menus, shown only once its page has loaded.
#include "bannerview.h"

#include <QColor>
#include <QWebEngineLoadingInfo>
#include <QQuickWindow>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace QtWebEngineCore {
// Made for programs that start the engine late: it creates the shared graphics context that the
// engine reads on start-up (left out, the engine crashes on X11).
Q_DECL_IMPORT void initialize();
} // namespace QtWebEngineCore

int tarnwell_banner_show(QWidget *area, const char *address)
{
    if (!area || !address)
        return 0;
#ifdef Q_OS_UNIX
    // The engine's sandbox refuses to run as root (containers, CI); it must be off before the
    // engine starts, which is when the first profile is made.
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
#endif
    // Drawn in software: the window then keeps its plain backing store instead of switching to
    // OpenGL composition, which would need a shared context made before the window existed.
    // That context costs every start about 100 ms and 60 MB; a small banner needs no graphics card.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QtWebEngineCore::initialize();
    const QColor plain(0xCC, 0xCC, 0xCC);

    // The view comes first among the area's children, so it and its page go before the profile.
    auto *view = new QWebEngineView(area);
    view->setObjectName(QStringLiteral("BannerView"));
    auto *profile = new QWebEngineProfile(area); // no storage name: no cookies or cache on disk
    profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    auto *page = new QWebEnginePage(profile, view);
    page->setBackgroundColor(plain);
    page->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    page->settings()->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    view->setPage(page);
    view->setContextMenuPolicy(Qt::NoContextMenu); // no "Reload" or "Back" for the banner
    view->setGeometry(area->rect());
    view->setFixedSize(area->size());

    // Until a page has loaded, and whenever one fails (no network, an error status), the area shows
    // its own picture rather than a blank or an error text; a page the ad network sends on later
    // shows again. A new navigation leaves the page showing until it has an outcome.
    view->hide();
    QObject::connect(page, &QWebEnginePage::loadingChanged, view, [view](const QWebEngineLoadingInfo &info) {
        if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus)
            view->setVisible(!info.isErrorPage()); // an HTTP error status arrives as a failed load
        else if (info.status() != QWebEngineLoadingInfo::LoadStartedStatus)
            view->hide();
    });
    view->load(QUrl(QString::fromUtf8(address)));
    return 1;
}
