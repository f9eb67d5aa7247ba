#include "media/midi_music.h"

#include "base/failure.h"
#include "devices/media_commands.h"
#include "run/context.h"

namespace media {

MidiMusic::MidiMusic(run::Context& rt, devices::MediaCommands& commands) : m_rt(rt), m_commands(commands) {}

MidiMusic::~MidiMusic()
{
    UnhookMidiNotify();
}

void MidiMusic::PlayMIDImusic(const QString& file, bool loop)
{
    try {
        m_fileName = file;
        m_loop = loop;
        // The close names the new file: callers stop a playing piece first.
        MidiClose();
        UnhookMidiNotify();
        m_rt.clock().doEvents();
        MidiOpenAndPlay();
        HookMidiNotify();
    } catch (const base::Failure&) {
        m_rt.ShowErrorReport(QStringLiteral(
            " Unable to play MIDI music. No audio hardware is available, the hardware is not responding, or another program is using hardware resources. Close this program, close any other open program, and then try again."));
    }
}

void MidiMusic::StopMIDIMusic()
{
    MidiClose();
    UnhookMidiNotify();
}

QString MidiMusic::MidiStatus()
{
    QString reply;
    m_commands.send(QStringLiteral("Status ") + m_fileName + QStringLiteral(" mode"), &reply);
    m_rt.clock().doEvents();
    return reply;
}

void MidiMusic::MidiClose()
{
    m_commands.send(QStringLiteral("close ") + m_fileName);
    m_isOpen = false;
}

void MidiMusic::MidiOpenAndPlay()
{
    // The device is named by a form of the path without blanks; a missing
    // file gives the empty name, which nothing opens under.
    m_fileName = m_commands.shortPath(m_fileName);
    // The sequencer's errors are swallowed: a piece it cannot open or play
    // simply does not play.
    if (!m_isOpen && m_commands.send(QStringLiteral("open ") + m_fileName + QStringLiteral(" type sequencer"), nullptr, m_window) != 0)
        return;
    if (m_commands.send(QStringLiteral("play ") + m_fileName + QStringLiteral(" from 0 notify"), nullptr, m_window) != 0)
        return;
    m_isOpen = true;
}

void MidiMusic::HookMidiNotify()
{
    if (m_window) {
        m_window->installEventFilter(this);
        m_hooked = m_window;
    }
}

void MidiMusic::UnhookMidiNotify()
{
    if (m_hooked)
        m_hooked->removeEventFilter(this);
    m_hooked.clear();
}

bool MidiMusic::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == devices::MediaCommands::Notice::kType) {
        const auto* notice = static_cast<const devices::MediaCommands::Notice*>(event);
        if (notice->successful) {
            // A piece of no length (no notes, or a tempo of 0) ends where it
            // starts: played again it would restart without end while time
            // stands still, so it ends as if it did not repeat.
            if (m_loop && m_commands.lengthMs(m_fileName) > 0)
                MidiOpenAndPlay();
            else
                MidiClose();
        }
    }
    // Every event goes on to the window as before.
    return QObject::eventFilter(watched, event);
}

} // namespace media
