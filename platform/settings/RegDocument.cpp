// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings/RegDocument.h"

#include "platform/settings/RegValueCodec.h"

namespace zq {

namespace {

std::string Fold(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string_view TrimRight(std::string_view s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string_view TrimLeft(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    return s;
}

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        auto line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::vector<std::string_view> SplitPath(std::string_view path)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const auto end = path.find('\\', start);
        parts.push_back(path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

} // namespace

RegDocument RegDocument::Parse(std::string_view text) { return Parse(text, {}); }

std::optional<RegValue> RegDocument::Lookup(std::string_view text, std::string_view keyPath, std::string_view name)
{
    const std::string key = Fold(keyPath);
    return Parse(text, key).Find(keyPath, name);
}

RegDocument RegDocument::Parse(std::string_view text, std::string_view onlyKey)
{
    RegDocument doc;
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    if (const auto nl = text.find('\n'); nl != std::string_view::npos && nl > 0 && text[nl - 1] == '\r')
        doc.eol_ = "\r\n";

    const auto lines = SplitLines(text);
    std::size_t i = 0;
    if (!lines.empty() && TrimRight(lines[0]) == Signature)
        i = 1;
    bool inBlock = false;
    bool skipping = false; // in a block of another key, which a lookup need not keep
    for (; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const auto trimmed = TrimLeft(TrimRight(line));
        if (trimmed.empty())
            continue; // blank lines only separate blocks; they are written anew
        if (trimmed.front() == '[' && trimmed.back() == ']') {
            const auto path = trimmed.substr(1, trimmed.size() - 2);
            std::string folded = Fold(path);
            inBlock = true;
            skipping = !onlyKey.empty() && folded != onlyKey;
            if (!skipping)
                doc.blocks_.push_back(Block{std::string(line), std::string(path), std::move(folded), {}});
            continue;
        }
        if (!inBlock) {
            doc.preamble_.emplace_back(line);
            continue;
        }
        // A line without a backslash cannot begin a hex list that runs on, so in
        // a skipped block it is passed over unread.
        if (skipping && line.find('\\') == std::string_view::npos)
            continue;
        auto* entries = skipping ? nullptr : &doc.blocks_.back().entries;
        if (auto name = RegValueCodec::ParseName(line)) {
            // Gather continuation lines of a hex list, then read the whole entry.
            std::size_t last = i;
            std::string data(line.substr(name->dataStart));
            std::string whole(line);
            bool complete = true;
            if (RegValueCodec::Continues(data)) {
                for (;;) {
                    if (last + 1 == lines.size()) {
                        complete = false;
                        break;
                    }
                    ++last;
                    data += '\n';
                    data += lines[last];
                    whole += '\n';
                    whole += lines[last];
                    const auto rest = TrimRight(lines[last]);
                    if (rest.empty() || rest.back() != '\\')
                        break;
                }
            }
            auto value = complete ? RegValueCodec::ParseData(data) : std::nullopt;
            if (value) {
                i = last;
                if (skipping)
                    continue;
                entries->push_back(Entry{std::move(whole), Fold(name->name), std::move(name->name), std::move(*value)});
                continue;
            }
            // A damaged entry: keep its first line as it is and read on from the
            // next, so that a broken list cannot swallow the values after it.
        }
        if (entries)
            entries->push_back(Entry{std::string(line), std::nullopt, {}, {}});
    }
    return doc;
}

std::optional<RegValue> RegDocument::Find(std::string_view keyPath, std::string_view name) const
{
    const auto key = Fold(keyPath);
    const auto folded = Fold(name);
    const RegValue* found = nullptr;
    for (const auto& block : blocks_) {
        if (block.folded != key)
            continue;
        for (const auto& entry : block.entries)
            if (entry.folded == folded)
                found = &entry.value;
    }
    if (!found)
        return std::nullopt;
    return *found;
}

bool RegDocument::HasKey(std::string_view keyPath) const
{
    const auto key = Fold(keyPath);
    for (const auto& block : blocks_)
        if (block.folded == key)
            return true;
    return false;
}

void RegDocument::Set(std::string_view keyPath, std::string_view name, const RegValue& value)
{
    const auto key = Fold(keyPath);
    const auto folded = Fold(name);
    constexpr auto none = static_cast<std::size_t>(-1);
    std::size_t lastBlock = none;
    std::size_t targetBlock = none;
    std::size_t targetEntry = none;
    for (std::size_t b = 0; b < blocks_.size(); ++b) {
        if (blocks_[b].folded != key)
            continue;
        lastBlock = b;
        for (std::size_t e = 0; e < blocks_[b].entries.size(); ++e)
            if (blocks_[b].entries[e].folded == folded) {
                targetBlock = b;
                targetEntry = e;
            }
    }
    if (targetBlock != none) {
        auto& target = blocks_[targetBlock].entries[targetEntry];
        target.text = RegValueCodec::Format(target.name, value);
        target.value = value;
        // Earlier duplicates were shadowed by this one; drop them so only it remains.
        for (std::size_t b = 0; b < blocks_.size(); ++b) {
            if (blocks_[b].folded != key)
                continue;
            auto& entries = blocks_[b].entries;
            std::size_t kept = 0;
            for (std::size_t e = 0; e < entries.size(); ++e) {
                const bool duplicate = entries[e].folded == folded && !(b == targetBlock && e == targetEntry);
                if (!duplicate) {
                    if (kept != e)
                        entries[kept] = std::move(entries[e]);
                    ++kept;
                }
            }
            entries.resize(kept);
        }
        return;
    }
    if (lastBlock == none) {
        auto path = SpellNewKey(keyPath);
        blocks_.push_back(Block{"[" + path + "]", path, Fold(path), {}});
        lastBlock = blocks_.size() - 1;
    }
    blocks_[lastBlock].entries.push_back(Entry{RegValueCodec::Format(name, value), folded, std::string(name), value});
}

bool RegDocument::Remove(std::string_view keyPath, std::string_view name)
{
    const auto key = Fold(keyPath);
    const auto folded = Fold(name);
    std::size_t removed = 0;
    for (auto& block : blocks_)
        if (block.folded == key)
            removed += std::erase_if(block.entries, [&](const Entry& e) { return e.folded == folded; });
    return removed > 0;
}

std::string RegDocument::SpellNewKey(std::string_view keyPath) const
{
    // A key that already exists above the new one keeps the spelling it has.
    auto parts = SplitPath(keyPath);
    std::vector<std::string> spelt(parts.begin(), parts.end());
    std::size_t best = 0;
    for (const auto& block : blocks_) {
        const auto existing = SplitPath(block.path);
        std::size_t n = 0;
        while (n < existing.size() && n < parts.size() && Fold(existing[n]) == Fold(parts[n]))
            ++n;
        if (n > best) {
            best = n;
            for (std::size_t k = 0; k < n; ++k)
                spelt[k] = std::string(existing[k]);
        }
    }
    std::string path;
    for (std::size_t k = 0; k < spelt.size(); ++k) {
        if (k > 0)
            path += '\\';
        path += spelt[k];
    }
    return path;
}

std::string RegDocument::Text() const
{
    std::string out;
    const auto put = [&](std::string_view text) {
        // Entries hold their lines joined with '\n'; write them with the file's line end.
        std::size_t start = 0;
        for (;;) {
            const auto nl = text.find('\n', start);
            out.append(text.substr(start, nl == std::string_view::npos ? std::string_view::npos : nl - start));
            out += eol_;
            if (nl == std::string_view::npos)
                return;
            start = nl + 1;
        }
    };
    put(Signature);
    for (const auto& line : preamble_)
        put(line);
    out += eol_;
    for (const auto& block : blocks_) {
        put(block.header);
        for (const auto& entry : block.entries)
            put(entry.text);
        out += eol_;
    }
    return out;
}

} // namespace zq
