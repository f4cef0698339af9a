#include "Report.h"

namespace lorvane::importer {

void Report::Summary(std::string line) {
    summary_.push_back(std::move(line));
}

void Report::Info(std::string line) {
    info_.push_back(std::move(line));
}

Report::Kind* Report::Find(const std::string& kind) {
    for (Kind& k : kinds_)
        if (k.name == kind) return &k;
    return nullptr;
}

const Report::Kind* Report::Find(const std::string& kind) const {
    for (const Kind& k : kinds_)
        if (k.name == kind) return &k;
    return nullptr;
}

void Report::Warn(const std::string& kind, std::string example, std::size_t shown) {
    WarnMany(kind, 1, std::move(example), shown);
}

void Report::WarnMany(const std::string& kind, int n, std::string example, std::size_t shown) {
    Kind* k = Find(kind);
    if (!k) k = &kinds_.emplace_back(Kind{kind, 0, 0, {}});
    k->count += n;
    ++k->calls;
    if (k->examples.size() < shown) k->examples.push_back(std::move(example));
}

void Report::Error(std::string message) {
    errors_.push_back(std::move(message));
}

int Report::Count(const std::string& kind) const {
    const Kind* k = Find(kind);
    return k ? k->count : 0;
}

const std::vector<std::string>& Report::Examples(const std::string& kind) const {
    static const std::vector<std::string> kNone;
    const Kind* k = Find(kind);
    return k ? k->examples : kNone;
}

void Report::Print(std::ostream& out) const {
    for (const std::string& line : summary_)
        out << line << "\n";
    for (const std::string& line : info_)
        out << line << "\n";
    for (const Kind& k : kinds_) {
        out << k.name << ": " << k.count << "\n";
        for (const std::string& e : k.examples)
            out << "    " << e << "\n";
        if (k.calls > k.examples.size()) out << "    ...\n";
    }
    for (const std::string& e : errors_)
        out << "error: " << e << "\n";
}

}  // namespace lorvane::importer
