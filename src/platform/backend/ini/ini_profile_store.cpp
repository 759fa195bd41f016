#include "ini_profile_store.h"

#include "ini_document.h"

#include "text/utf8.h"

namespace tavren::backend::ini {

namespace {

void removeTrailingBlanks(std::string& s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.pop_back();
}

} // namespace

IniProfileStore::IniProfileStore(std::string path, SettingsFile& file, Hooks hooks)
    : path_(std::move(path)), file_(file), hooks_(std::move(hooks)) {}

std::string IniProfileStore::read(std::string_view section, std::string_view key,
                                  std::string_view fallback) {
    const FileContent file = file_.read(path_, kMaxFileBytes);
    if (file.status != FileContent::Read) return std::string(fallback);
    auto value = IniDocument(file.bytes).find(section, key);
    if (!value) return std::string(fallback);
    std::string cut(text::cutOnCharacterBoundary(*value, kMaxValueBytes));
    removeTrailingBlanks(cut);
    return cut;
}

bool IniProfileStore::write(const std::vector<services::ProfileEntry>& entries) {
    const FileContent file = file_.read(path_, kMaxFileBytes);
    // A file we cannot read may hold anything: leave it alone rather than lose it.
    if (file.status == FileContent::Unreadable) return false;
    IniDocument document;
    if (file.status == FileContent::Read) document = IniDocument(file.bytes);
    for (const auto& e : entries)
        document.set(e.section, e.key, e.value);
    return file_.replace(path_, document.text(), hooks_.beforeRename);
}

} // namespace tavren::backend::ini
