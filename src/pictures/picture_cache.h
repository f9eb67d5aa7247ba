#pragma once

#include "base/lazy_image.h"

#include <QImage>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>

namespace pictures {

// The decoded pictures of a run, one copy a file: everything that shows the
// same file shares its pixels (a LazyImage shares them, made or not), so a
// picture shown by six areas is decoded and held once. A copy is known by
// its file's time and size, and decoded anew when they change; copies that
// nothing else holds any more are let go when another picture is decoded.
// The pixels held stay within a budget: a picture that would take them
// past it is refused like a picture that cannot be decoded, so a few files
// of a hundred bytes that claim to be huge cannot take the memory.
class PictureCache {
public:
    // Two pictures of 8,000 pixels a side at 32 bits, or a hundred of a
    // game's screen size.
    static constexpr qint64 DefaultBudget = qint64(512) << 20;

    explicit PictureCache(qint64 budget = DefaultBudget) : m_budget(budget) {}

    // The picture of a file, in a format the window paints without
    // converting it (32 bits a pixel, premultiplied when it has
    // transparency): the copy held when the file is unchanged, else what
    // decode gives, converted once. decode throws Failure for what is no
    // picture; so does load, for a picture past the budget. A file that
    // cannot be looked at (an empty path) is decoded and not kept.
    base::LazyImage load(const std::filesystem::path& file, const std::function<base::LazyImage()>& decode);

    // The bytes of pixels of the copies held, counting those not made yet
    // at the size they will take.
    qint64 heldBytes() const;

private:
    struct Entry {
        std::filesystem::file_time_type modified;
        std::uintmax_t size = 0;
        base::LazyImage picture;
    };

    // Lets go the copies that only the cache still holds.
    void releaseUnshown();

    qint64 m_budget;
    std::map<std::filesystem::path, Entry> m_entries;
};

} // namespace pictures
