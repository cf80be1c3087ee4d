#pragma once

#include <QObject>
#include <QString>

// The transport of one UMD target: takes whole messages and never blocks.
// How many it takes at a time is its room(); the target keeps the others as
// the latest state of each display until ready().
class UmdSender : public QObject
{
    Q_OBJECT

public:
    enum class State { Connecting, Sending, Connected, Failed };

    using QObject::QObject;

    virtual void start() = 0;
    // Messages that may be written now.
    [[nodiscard]] virtual int room() const = 0;
    virtual void write(const QByteArray &message) = 0;

    [[nodiscard]] State state() const { return m_state; }
    // Why it failed.
    [[nodiscard]] QString reason() const { return m_reason; }
    // "sending", "connected", "connecting", "failed REASON".
    [[nodiscard]] QString stateText() const;
    // The words of a status message when it fails: "cannot connect".
    [[nodiscard]] virtual QString failure() const = 0;

signals:
    // There is room again.
    void ready();
    // The receiver starts afresh (a connection made, a device opened): every display is to be sent.
    void restarted();
    void stateChanged();

protected:
    void setState(State state, const QString &reason = {});

private:
    State m_state = State::Connecting;
    QString m_reason;
};
