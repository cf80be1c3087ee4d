#pragma once

#include "SoakPanel.h"
#include "SoakPieces.h"

#include <QProcess>

// `velmora --no-window` with both servers and its UMD targets, its standard error kept in a file.
class ServicePanel final : public SoakPanel
{
public:
    ServicePanel(QString program, const SoakPorts &ports, QString errorFile);
    ~ServicePanel() override;

    [[nodiscard]] QString start() override;
    [[nodiscard]] QString stop() override;
    [[nodiscard]] QString ended() const override;
    [[nodiscard]] long residentKiB() const override { return residentKiBOf(m_process.processId()); }

private:
    QString m_program;
    const SoakPorts &m_ports;
    QString m_errorFile;
    QProcess m_process;
};
