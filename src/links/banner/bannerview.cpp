// SPDX-License-Identifier: MIT
// The banner's web view: off the record, without bars or menus, plain when the page cannot load.
#include "bannerview.h"

#include <QColor>
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

    // A failed page leaves the area's own plain colour rather than any error text; a page that
    // the ad network sends on after an aborted first load shows again.
    QObject::connect(view, &QWebEngineView::loadFinished, view, [view](bool ok) { view->setVisible(ok); });
    view->load(QUrl(QString::fromUtf8(address)));
    view->show();
    return 1;
}
