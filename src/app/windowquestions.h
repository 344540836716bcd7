// SPDX-License-Identifier: MIT
// The writer's questions, put to the user in message boxes.
#pragma once

#include "settings/settingswriter.h"

class Platform;

class WindowQuestions final : public tarnwell::WriteQuestions
{
public:
    explicit WindowQuestions(Platform &platform) : m_platform(platform) {}

    bool writeMerged(const QString &path, const tarnwell::Merge &merge) override;
    bool writeReadOnly(const QString &path) override;
    bool writeLinked(const QString &path, int others) override;
    QString beforeReplace(const QString &path, QByteArrayView bytes) override;

private:
    Platform &m_platform;
};
