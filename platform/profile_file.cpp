#include "platform/profile_file.h"

#include "platform/text.h"

#include <vector>

namespace platform {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view trimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// One line of the file, without its line end.
struct Line {
    std::string text;
    bool isSection = false;
    std::string name; // the section's name, or the key's
};

struct Parsed {
    std::vector<Line> lines;
    std::string lineEnd = "\n";
};

Parsed parse(std::string_view content)
{
    Parsed parsed;
    if (content.substr(0, kUtf8Bom.size()) == kUtf8Bom)
        content.remove_prefix(kUtf8Bom.size());
    if (content.find("\r\n") != std::string_view::npos)
        parsed.lineEnd = "\r\n";
    while (!content.empty()) {
        const auto end = content.find('\n');
        std::string_view text = content.substr(0, end);
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
        if (!text.empty() && text.back() == '\r')
            text.remove_suffix(1);
        Line line;
        line.text = std::string(text);
        const std::string_view trimmed = trimBlanks(text);
        if (!trimmed.empty() && trimmed.front() == '[') {
            line.isSection = true;
            line.name = std::string(trimBlanks(trimmed.substr(1, trimmed.find(']') - 1)));
        } else if (!trimmed.empty() && trimmed.front() != ';') {
            const auto equals = trimmed.find('=');
            if (equals != std::string_view::npos)
                line.name = std::string(trimBlanks(trimmed.substr(0, equals)));
        }
        parsed.lines.push_back(std::move(line));
    }
    return parsed;
}

// The file's text as UTF-8, or nothing when it is neither UTF-8 nor Shift-JIS text.
std::optional<std::string> decode(const std::string &bytes)
{
    if (bytes.find('\0') != std::string::npos)
        return std::nullopt;
    if (isUtf8(bytes))
        return bytes;
    return fromShiftJis(bytes);
}

std::string valueOf(std::string_view line)
{
    std::string_view value = trimBlanks(line.substr(line.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

// Index of the first section named section, or lines.size().
std::size_t findSection(const std::vector<Line> &lines, const std::string &section)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].isSection && equalsIgnoringCase(lines[i].name, section))
            return i;
    }
    return lines.size();
}

} // namespace

std::optional<std::string> ProfileFile::read(const std::string &path, const std::string &section, const std::string &key)
{
    const auto content = m_files.readFile(path, kMaxSize);
    if (!content || !content->exists)
        return std::nullopt;
    const auto text = decode(content->bytes);
    if (!text)
        return std::nullopt;
    const Parsed parsed = parse(*text);
    for (std::size_t i = findSection(parsed.lines, section) + 1; i < parsed.lines.size(); ++i) {
        const Line &line = parsed.lines[i];
        if (line.isSection)
            break;
        if (!line.name.empty() && equalsIgnoringCase(line.name, key))
            return valueOf(line.text);
    }
    return std::nullopt;
}

bool ProfileFile::write(const std::string &path, const std::string &section, const std::string &key,
                        const std::string &value)
{
    const auto content = m_files.readFile(path, kMaxSize);
    if (!content)
        return false; // there, but cannot be read: left alone
    std::string text;
    if (content->exists) {
        if (!content->complete)
            return false; // too large to be a settings file: left alone
        const auto decoded = decode(content->bytes);
        if (!decoded)
            return false; // not text: left alone
        text = *decoded;
    }
    Parsed parsed = parse(text);
    std::vector<Line> &lines = parsed.lines;
    const Line keyLine { key + "=" + value, false, key };

    const std::size_t sectionAt = findSection(lines, section);
    if (sectionAt == lines.size()) {
        lines.push_back(Line { "[" + section + "]", true, section });
        lines.push_back(keyLine);
    } else {
        std::size_t insertAt = sectionAt + 1;
        bool replaced = false;
        for (std::size_t i = sectionAt + 1; i < lines.size() && !lines[i].isSection; ++i) {
            if (!lines[i].name.empty() && equalsIgnoringCase(lines[i].name, key)) {
                lines[i] = keyLine;
                replaced = true;
                break;
            }
            if (!trimBlanks(lines[i].text).empty())
                insertAt = i + 1;
        }
        if (!replaced)
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), keyLine);
    }

    std::string result;
    for (const Line &line : lines) {
        result += line.text;
        result += parsed.lineEnd;
    }
    return m_files.writeFileAtomically(path, result);
}

} // namespace platform
