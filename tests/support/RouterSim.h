#pragma once

#include <QObject>
#include <QProcess>
#include <QStringList>

// velmora-routersim run by a test: started on a pseudo-terminal linked at a
// given path, its frame log collected line by line.
class RouterSim : public QObject
{
    Q_OBJECT

public:
    explicit RouterSim(QObject *parent = nullptr);
    ~RouterSim() override;

    // Starts the simulator with --link linkPath and args; true once it reports ready.
    [[nodiscard]] bool start(const QString &linkPath, const QStringList &args = {});
    // Kills it outright, as when the device is pulled: its link stays behind, dangling.
    void kill();

    // One per frame received: "BE EF 03 00 00 00 07 55 router=3 input=0 output=7 ack", without the time.
    [[nodiscard]] QStringList frames() const { return m_frames; }
    // Only the eight bytes of each frame, "BE EF 03 00 00 00 07 55".
    [[nodiscard]] QStringList wire() const;
    // Whether frames() keeps every frame (the default); a run of hours
    // that only follows frameLogged keeps none.
    void setKeepingFrames(bool keeping) { m_keeping = keeping; }
    // Waits (bounded) until at least count frames have been logged.
    [[nodiscard]] bool waitForFrames(int count);

signals:
    void frameLogged(const QString &frame);

private:
    void readLog();

    QProcess m_process;
    QByteArray m_pending;
    QStringList m_frames;
    bool m_ready = false;
    bool m_keeping = true;
};
