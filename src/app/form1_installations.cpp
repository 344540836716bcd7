// SPDX-License-Identifier: MIT
// The game's installations found beside the window, and paths typed into the picker.
#include "form1.h"

#include "executablepicker.h"
#include "firstpaint.h"

#include "platform/platform.h"
#include "registration/discovery.h"

void Form1::startDiscovery(bool now)
{
    m_discovery = std::make_unique<tarnwell::DiscoveryTask>(m_platform.homeFolder());
    connect(m_discovery.get(), &tarnwell::DiscoveryTask::finished, this, &Form1::installationsFound);
    if (now) {
        m_discovery->start();
        return;
    }
    afterFirstPaint(this, m_discovery.get(), [task = m_discovery.get()] { task->start(); });
}

void Form1::installationsFound()
{
    QList<QPair<QString, QString>> installations; // caption, executable
    for (const tarnwell::Installation &found : m_discovery->result())
        installations.append({found.caption, found.exePath});
    m_discovery.release()->deleteLater(); // it is the sender of this very call
    m_picker->setInstallations(installations);
    // With nothing registered yet the picker waits at the first one found: one click and Yes register it.
    if (GameExePath.isEmpty() && !m_picker->movedByUser() && !installations.isEmpty())
        m_picker->showExecutable(installations.first().second);
}

void Form1::TypePath()
{
    m_picker->typePath();
}

QLineEdit *Form1::pathEdit() const
{
    return m_picker->pathEdit();
}
