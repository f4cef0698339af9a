#include "ZipFixtures.h"

#include <archive.h>
#include <archive_entry.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

#include "Fixtures.h"

namespace lorvane::testing {

namespace fs = std::filesystem;

void WriteZip(const fs::path& zip, const ZipEntries& entries) {
    struct archive* a = archive_write_new();
    archive_write_set_format_zip(a);
    archive_write_zip_set_compression_deflate(a);
    if (archive_write_open_filename(a, zip.c_str()) != ARCHIVE_OK)
        throw std::runtime_error(archive_error_string(a));
    for (const auto& [name, bytes] : entries) {
        struct archive_entry* e = archive_entry_new();
        archive_entry_set_pathname(e, name.c_str());
        archive_entry_set_filetype(e, AE_IFREG);
        archive_entry_set_perm(e, 0644);
        archive_entry_set_size(e, static_cast<la_int64_t>(bytes.size()));
        archive_write_header(a, e);
        archive_write_data(a, bytes.data(), bytes.size());
        archive_entry_free(e);
    }
    archive_write_close(a);
    archive_write_free(a);
}

fs::path LsgDir() {
    const fs::path dir = LORVANE_LSG_DIR;
    return fs::is_directory(dir) ? dir : fs::path();
}

ZipEntries LsgEntries(int first, int last) {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(LsgDir()))
        if (e.path().extension() == ".usfm") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    ZipEntries entries;
    for (int b = first; b <= last && b <= static_cast<int>(files.size()); ++b) {
        // "01-GEN.usfm" becomes "02-GENfraLSG.usfm", "40-MAT.usfm" "70-MATfraLSG.usfm".
        const std::string code = files[b - 1].stem().string().substr(3);
        const int number = b <= 39 ? b + 1 : b + 30;
        entries.push_back({"fraLSG_usfm/" + std::string(number < 10 ? "0" : "") +
                               std::to_string(number) + "-" + code + "fraLSG.usfm",
                           ReadFile(files[b - 1])});
    }
    entries.push_back({"00-FRTfraLSG.usfm",
                       "\\id FRT\n\\h Préface\n\\mt1 La Sainte Bible\n\\p Louis Segond 1910.\n"});
    entries.push_back({"fraLSG.htm", "<html><body>La Sainte Bible</body></html>"});
    return entries;
}

std::string TinyBook(const std::string& code, int chapters, int verses) {
    std::string book = "\\id " + code + " test\n\\h " + code + "\n";
    for (int c = 1; c <= chapters; ++c) {
        book += "\\c " + std::to_string(c) + "\n\\p\n";
        for (int v = 1; v <= verses; ++v)
            book += "\\v " + std::to_string(v) + " Texte de " + code + " " + std::to_string(c) +
                    "." + std::to_string(v) + "\n";
    }
    return book;
}

struct WithoutRootOverride::Saved {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
};

WithoutRootOverride::WithoutRootOverride() : saved_(new Saved) {
    syscall(SYS_capget, &saved_->header, saved_->data);
    __user_cap_data_struct reduced[2] = {saved_->data[0], saved_->data[1]};
    reduced[0].effective &= ~(1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH);
    syscall(SYS_capset, &saved_->header, reduced);
}

WithoutRootOverride::~WithoutRootOverride() {
    syscall(SYS_capset, &saved_->header, saved_->data);
    delete saved_;
}

std::map<std::string, std::string> Snapshot(const std::filesystem::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir))
        if (e.is_regular_file())
            files[std::filesystem::relative(e.path(), dir).string()] = ReadFile(e.path());
    return files;
}

}  // namespace lorvane::testing
