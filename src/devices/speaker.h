#pragma once

#include <QString>

namespace devices {

// Reads texts aloud, one after another.
class Speaker {
public:
    virtual ~Speaker() = default;
    // Queues the text after those not read yet.
    virtual void say(const QString& text) = 0;
};

} // namespace devices
