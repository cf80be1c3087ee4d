#include "remote/umd/UmdOutput.h"

#include "door/RemoteDoor.h"
#include "link/StatusSink.h"

UmdOutput::UmdOutput(RemoteDoor &panel, const UmdOptions &options, QObject *parent) : QObject(parent), m_panel(panel)
{
    for (const auto &[number, target] : options.targets) {
        if (const QString note = unaddressedPorts(target, number); !note.isEmpty())
            m_notes.append(note);
        m_targets.push_back(std::make_unique<UmdTargetOutput>(
            number, target, panel.status(),
            [&panel](const QString &event) { panel.logActivity(QStringLiteral("umd"), event); }, this));
    }
    m_update.setSingleShot(true);
    m_update.setInterval(0);
    connect(&m_update, &QTimer::timeout, this, [this] {
        const MatrixSnapshot matrix = m_panel.matrix();
        for (const auto &target : m_targets)
            target->update(matrix);
    });
    connect(&panel, &RemoteDoor::routed, this, [this](int, int, bool acknowledged) {
        if (acknowledged)
            changed();
    });
    connect(&panel, &RemoteDoor::locksChanged, this, &UmdOutput::changed);
    connect(&panel, &RemoteDoor::portNamesChanged, this, &UmdOutput::changed);
    connect(&panel, &RemoteDoor::setupChanged, this, &UmdOutput::changed);
}

std::unique_ptr<UmdOutput> UmdOutput::fromArguments(RemoteDoor &panel, const QStringList &arguments)
{
    const UmdOptions options = UmdOptions::parse(arguments);
    for (const QString &error : options.errors)
        panel.status().SetErrMsg(error);
    if (options.targets.isEmpty())
        return nullptr;
    auto output = std::make_unique<UmdOutput>(panel, options);
    output->start();
    return output;
}

void UmdOutput::start()
{
    m_panel.status().setNote(QStringLiteral("UMD output to %1 target%2")
                                 .arg(m_targets.size())
                                 .arg(m_targets.size() == 1 ? QString() : QStringLiteral("s")));
    for (const QString &note : std::as_const(m_notes))
        m_panel.status().SetErrMsg(note);
    const MatrixSnapshot matrix = m_panel.matrix();
    for (const auto &target : m_targets)
        target->start(matrix);
}

QStringList UmdOutput::statusLines() const
{
    QStringList lines;
    for (const auto &target : m_targets)
        lines.append(target->statusLine());
    return lines;
}

void UmdOutput::changed()
{
    m_update.start();
}
