#include "support/action_record.h"

namespace testsupport {

QByteArray ActionRecord::bytes() const
{
    formats::QuotedFieldWriter w;
    auto isText = [](int n) { return n == 2 || n == 9 || n == 13 || n == 17 || n == 7 || n == 26 || n == 28; };
    for (int n = 1; n <= length && n <= 42; ++n) {
        if (n == 41) {
            for (const QStringList& list : lists) {
                w.number(list.size());
                for (const QString& name : list)
                    w.string(name);
            }
            continue;
        }
        auto it = fields.find(n);
        if (it == fields.end()) {
            if (n == 42)
                w.boolean(true);
            else if (isText(n))
                w.string(QString());
            else
                w.number(0);
        } else {
            std::visit(
                [&w](const auto& v) {
                    using T = std::decay_t<decltype(v)>;
                    if constexpr (std::is_same_v<T, QString>)
                        w.string(v);
                    else if constexpr (std::is_same_v<T, const char*>)
                        w.string(QString::fromUtf8(v));
                    else if constexpr (std::is_same_v<T, bool>)
                        w.boolean(v);
                    else
                        w.number(static_cast<double>(v));
                },
                it->second);
        }
        if (n % 6 == 0)
            w.endRecord();
    }
    w.endRecord();
    return w.bytes();
}

} // namespace testsupport
