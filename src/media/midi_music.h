#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

namespace run {
class Context;
}
namespace devices {
class MediaCommands;
}

namespace media {

// MIDI music of frames and actions: one piece on the sequencer device, named
// by its file, played from the start and looped when it ends. The end comes
// as a notice to the game window; while music plays this object watches the
// window's events for it (the hook), and a stop removes the hook, so a
// notice that arrives after the stop changes nothing.
class MidiMusic : public QObject {
public:
    MidiMusic(run::Context& rt, devices::MediaCommands& commands);
    ~MidiMusic() override;

    // The window whose events carry the end of a piece; nullptr: none.
    void setWindow(QObject* window) { m_window = window; }

    void PlayMIDImusic(const QString& file, bool loop);
    void StopMIDIMusic();
    // "playing" while the music plays, else the sequencer's mode or "".
    QString MidiStatus();

    const QString& MidiFileName() const { return m_fileName; }
    bool MidiLoop() const { return m_loop; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void MidiClose();
    void MidiOpenAndPlay();
    void HookMidiNotify();
    void UnhookMidiNotify();

    run::Context& m_rt;
    devices::MediaCommands& m_commands;
    QPointer<QObject> m_window;
    QPointer<QObject> m_hooked;
    QString m_fileName;
    bool m_isOpen = false;
    bool m_loop = false;
};

} // namespace media
