#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QMovie;

namespace platform {

class Element;

// An animated picture shown by an image element: the stand-in for the
// animated-GIF control the games were made with (a file, a speed, play and
// stop). The element takes the size of the animation's frames.
class Animation : public QObject {
public:
    explicit Animation(Element& target);
    ~Animation() override;

    // Reads the animation from the file (a resolved path); throws Failure
    // when it cannot be read.
    void setFile(const QString& path);
    const QString& file() const { return m_file; }
    // The pace in per cent of the file's own frame delays.
    void setSpeedPercent(int percent);
    int speedPercent() const;
    // Starts from the first frame.
    void play();
    // Stops; the next play starts from the first frame again.
    void stop();
    bool playing() const;
    int currentFrame() const;

private:
    Element& m_target;
    std::unique_ptr<QMovie> m_movie;
    QString m_file;
    int m_speedPercent = 100;
};

} // namespace platform
