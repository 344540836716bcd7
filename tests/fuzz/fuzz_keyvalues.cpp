// SPDX-License-Identifier: MIT
// Fuzz target: Steam's key-values text from arbitrary bytes. The reader keeps within its limits, and
// what it made out, written back out, reads back the same.
#include "fuzzcheck.h"

#include "files/keyvalues.h"

using namespace tarnwell;

namespace {

QByteArray quoted(const QString &text)
{
    QByteArray out = "\"";
    for (const char c : text.toUtf8())
        out += c == '"' ? "\\\"" : c == '\\' ? "\\\\" : c == '\n' ? "\\n" : c == '\t' ? "\\t" : QByteArray(1, c);
    return out + '"';
}

QByteArray written(const KeyValues &block)
{
    QByteArray out;
    for (const auto &[key, value] : block.values)
        out += quoted(key) + ' ' + quoted(value) + '\n';
    for (const auto &[key, inside] : block.blocks)
        out += quoted(key) + " {\n" + written(inside) + "}\n";
    return out;
}

bool same(const KeyValues &a, const KeyValues &b)
{
    if (a.values != b.values || a.blocks.size() != b.blocks.size())
        return false;
    for (qsizetype i = 0; i < a.blocks.size(); ++i) {
        if (a.blocks[i].first != b.blocks[i].first || !same(a.blocks[i].second, b.blocks[i].second))
            return false;
    }
    return true;
}

// Entries and depth of the tree; every token within its limit.
void measure(const KeyValues &block, int depth, int &entries, int &deepest, const KeyValuesLimits &limits)
{
    deepest = std::max(deepest, depth);
    entries += int(block.values.size() + block.blocks.size());
    for (const auto &[key, value] : block.values)
        require(key.toUtf8().size() <= 3 * limits.token && value.toUtf8().size() <= 3 * limits.token, "a token too long");
    for (const auto &[key, inside] : block.blocks)
        measure(inside, depth + 1, entries, deepest, limits);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView text(reinterpret_cast<const char *>(data), qsizetype(size));
    const KeyValuesLimits limits{4, 50, 64}; // small, so that short inputs reach every limit
    const KeyValues tree = parseKeyValues(text, limits);
    int entries = 0, deepest = 0;
    measure(tree, 0, entries, deepest, limits);
    require(entries <= limits.entries, "more entries than the limit");
    require(deepest < limits.depth, "blocks nested deeper than the limit");

    // Without limits in the way (no token can grow past them), the tree survives being written out.
    if (size <= 1024) {
        const KeyValues whole = parseKeyValues(text);
        require(same(whole, parseKeyValues(written(whole))), "what was read does not read back the same");
    }
    return 0;
}
