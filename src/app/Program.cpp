#include "app/Program.hpp"

#include "app/Console.hpp"
#include "app/Dialogue.hpp"
#include "app/RunJob.hpp"
#include "io/InputFile.hpp"
#include "threads/SideBySide.hpp"

#include <cerrno>
#include <cstring>
#include <new>
#include <string>
#include <system_error>

namespace {

// Loads the client file, with the reports of skipped lines on the dialogue's
// output, or for a job on standard error. Nothing where it cannot be read.
std::optional<LoadResult> load(Environment& env, bool job, int& status) {
    Console c(env, {});
    std::ostream& reports = job ? c.err : c.out;
    // The reason goes to standard error; the dialogue's sentence to its output.
    const auto unreadable = [&](const auto& reason) {
        c.err << "klienti: subor \"" << env.client_file << "\" " << reason << '\n';
        if (!job) {
            c.out << "Subor sa nepodarilo otvorit";
            if (env.output_is_terminal) {
                c.out << '\n';
            }
        }
        status = job ? 1 : 0;
        return std::nullopt;
    };
    const auto failed = [](std::string_view what, int error) {
        return "sa nepodarilo " + std::string(what) + ": " + std::strerror(error);
    };
    std::optional<InputFile> file = InputFile::open(env.directory / env.client_file);
    if (!file) {
        return unreadable(failed("otvorit", errno));
    }
    LoadResult loaded;
    try {
        const std::string step_name = "nacitavanie " + env.client_file;
        Progress::Step step(env.progress, step_name);
        LoadOptions options;
        options.file_name = env.client_file;
        options.report_prefix = job ? "klienti: " : "";
        options.workers = workerCount();
        options.progress = step.callback();
        loaded = loadClients(*file, reports, options);
    } catch (const std::bad_alloc&) {
        reports << (job ? "klienti: " : "") << "Nedostatok pamate na nacitanie zaznamov.\n";
        status = 1;
        return std::nullopt;
    }
    if (loaded.utf16) {
        return unreadable("je v kodovani UTF-16, ktore program necita; ulozte ho ako CSV v kodovani UTF-8");
    }
    if (loaded.read_error != 0) {
        return unreadable(failed("precitat", loaded.read_error));
    }
    if (const Dialect& d = loaded.dialect; d.separator != ',' || d.byte_order_mark) {
        c.err << "klienti: subor \"" << env.client_file << "\" je oddeleny "
              << (d.separator == ',' ? "ciarkami" : d.separator == ';' ? "bodkociarkami" : "tabulatormi")
              << (d.byte_order_mark ? " a zacina znackou poradia bajtov UTF-8" : "")
              << "; vystupne subory budu zapisane rovnako\n";
    }
    return loaded;
}

} // namespace

int runKlienti(Environment& env, const std::optional<Job>& job, Collation collation) {
    if (job && job->output == Job::Output::named_file) {
        // Never touched: refused before anything is read.
        std::error_code error;
        const std::filesystem::file_type type =
            std::filesystem::symlink_status(env.directory / job->output_name, error).type();
        if (type != std::filesystem::file_type::not_found) {
            // A name that could not be looked up (no right to search, too
            // long) is not known to be taken: its reason is told.
            Console c(env, {});
            if (error) {
                c.err << "klienti: vystupny subor \"" << job->output_name
                      << "\" sa nepodarilo zapisat: " << std::strerror(error.value()) << '\n';
            } else {
                c.err << "klienti: vystupny subor \"" << job->output_name
                      << "\" uz existuje; existujuci subor sa neprepisuje\n";
            }
            return 1;
        }
    }
    int status = 0;
    std::optional<LoadResult> loaded = load(env, job.has_value(), status);
    if (!loaded) {
        return status;
    }
    if (job) {
        Console c(env, loaded->dialect);
        return runJob(loaded->klienti, *job, c);
    }
    return runDialogue(loaded->klienti, env, loaded->dialect, collation);
}
