#include "app/RunJob.hpp"

#include "app/ConsoleListing.hpp"
#include "io/OutputFile.hpp"
#include "threads/SideBySide.hpp"

#include <cerrno>
#include <cstring>
#include <new>
#include <optional>

namespace {

constexpr std::string_view chyba_vystupu = "Vystupny subor sa nepodarilo vytvorit. Vystup do suboru nebol vykonany.";

void noteOutput(const OutputResult& result, int32_t pocet, const Job& job, Console& c) noexcept {
    const std::string_view name = job.output == Job::Output::named_file ? job.output_name : result.name.view();
    if (job.output == Job::Output::standard_output) {
        if (result.written) {
            c.err << "klienti: na standardny vystup bolo zapisanych " << pocet << " zaznamov\n";
        } else {
            c.err << "klienti: vystup sa nepodarilo zapisat: " << std::strerror(result.error) << '\n';
        }
    } else if (result.written) {
        c.err << "klienti: do suboru \"" << name << "\" bolo zapisanych " << pocet << " zaznamov\n";
    } else {
        c.err << "klienti: vystupny subor \"" << name << "\" sa nepodarilo zapisat: " << std::strerror(result.error)
              << '\n';
    }
    c.err.flush();
}

// What a job shows and writes, taken before it shows anything.
struct TakenOutput {
    TakenOutput(int32_t pocet, unsigned workers, const Job& job, Console& c)
        : listing(listingBuffers(job.list ? pocet : 0, workers)), file(outputOf(pocet, workers, job, c)) {
        if (job.list && !c.env.pager.command.empty() && pocet > 0) {
            pager.emplace(c.env.pager);
        }
    }
    static OutputFile outputOf(int32_t pocet, unsigned workers, const Job& job, Console& c) {
        const auto count = static_cast<std::size_t>(std::max(pocet, 0));
        switch (job.output) {
        case Job::Output::standard_output: return OutputFile(c.env.output, count, workers, c.dialect);
        case Job::Output::named_file: return OutputFile(c.env.directory, count, workers, c.dialect, job.output_name);
        default: return OutputFile(c.env.directory, count, workers, c.dialect);
        }
    }
    WriterBuffers listing;
    OutputFile file;
    std::optional<Pager> pager;
};

// Through the pager where there is one; straight to the output where there
// is none or it cannot be started. Gives the errno of a listing that stopped
// where the output failed, but for a closed pipe (a pager quit early, head):
// the reader wanted no more.
int list(const Klient* const* tabulka, int32_t pocet, Console& c, TakenOutput& taken,
         const ProgressCallback& progress) noexcept {
    c.out.flush();
    if (taken.pager) {
        if (taken.pager->start()) {
            printClients(tabulka, pocet, taken.pager->input(), taken.listing);
            if (taken.pager->finish()) {
                return 0;
            }
            c.err << "klienti: strankovac \"" << taken.pager->command() << "\" sa nepodarilo spustit\n" << std::flush;
        } else {
            c.err << "klienti: strankovac \"" << taken.pager->command()
                  << "\" sa nepodarilo spustit: " << std::strerror(errno) << '\n' << std::flush;
        }
    }
    const bool whole =
        printClients(tabulka, pocet, c.env.output, taken.listing, c.env.output_is_terminal ? ProgressCallback{} : progress);
    return whole || errno == EPIPE ? 0 : errno;
}

// Writes the output and lists the table, the listing beside the file or
// after it, then notes the output's fate. Everything is in hand: nothing
// here allocates or throws, so an output that has begun to show shows whole.
bool show(const Klient* const* tabulka, int32_t pocet, const std::tm& now, TakenOutput& taken, const Job& job,
          Console& c) noexcept {
    const auto count = static_cast<std::size_t>(std::max(pocet, 0));
    const bool beside = job.list && !job.file_first;
    int listing_error = 0;
    {
        // The listing beside goes on this thread, the file on another; the
        // file alone is written with its own progress.
        Progress::Step step(c.env.progress, beside ? "vypis" : "zapis vystupneho suboru");
        runSideBySide(beside ? 2 : 1, [&](std::size_t task) {
            if (beside && task == 0) {
                listing_error = list(tabulka, pocet, c, taken, step.callback());
            } else {
                taken.file.write(tabulka, count, beside ? ProgressCallback{} : step.callback());
            }
        });
    }
    if (!job.dialogue) {
        c.env.finishing();
    }
    const OutputResult result = taken.file.publish(now);
    if (!result.written && job.dialogue) {
        c.out << chyba_vystupu;
    }
    if (job.list && job.file_first) {
        Progress::Step step(c.env.progress, "vypis");
        listing_error = list(tabulka, pocet, c, taken, step.callback());
    }
    noteOutput(result, pocet, job, c);
    // A job's listing is part of its result; the dialogue's goes on without it.
    if (listing_error != 0 && !job.dialogue) {
        c.err << "klienti: vypis sa nepodarilo zapisat: " << std::strerror(listing_error) << '\n' << std::flush;
        return false;
    }
    return result.written;
}

void outOfMemory(const Job& job, Console& c) {
    if (job.dialogue) {
        c.out << nedostatok_pamate;
    } else {
        c.err << "klienti: " << nedostatok_pamate;
    }
}

} // namespace

bool orderAndWrite(Klient** tabulka, int32_t pocet, const Job& job, const std::tm& now, Console& c) {
    const unsigned workers = workerCount();
    std::optional<TakenOutput> taken;
    try {
        // The order is built beside the table and enters it only once
        // everything the output needs is taken.
        HugeVector<Klient*> ordered;
        if (!job.keys.empty()) {
            Progress::Step step(c.env.progress, "usporiadanie");
            ordered =
                sortClients(tabulka, pocet, job.keys, toDatum(now), job.collation, step.callback(), workers);
        }
        taken.emplace(pocet, workers, job, c);
        std::copy(ordered.begin(), ordered.end(), tabulka);
    } catch (const std::bad_alloc&) {
        outOfMemory(job, c);
        return false;
    } catch (const CollationError& error) {
        c.err << "klienti: slovenske triedenie sa nepodarilo (" << error.what() << "), operacia nebola vykonana\n"
              << std::flush;
        return false;
    }
    return show(tabulka, pocet, now, *taken, job, c);
}

int runJob(ClientStore& klienti, const Job& job, Console& c) {
    // One time for the ages of the filters and of the ordering, and for the
    // file's name.
    const std::tm now = c.env.calendar();
    HugeVector<Klient*>& loaded = klienti.tabulka();
    HugeVector<Klient*> selected;
    Klient** tabulka = loaded.data();
    auto pocet = static_cast<int32_t>(loaded.size());
    if (!job.filters.empty()) {
        const Datum dnes = toDatum(now);
        const int32_t vyhovuje = countMatching(tabulka, pocet, job.filters, dnes);
        try {
            selected.resize(static_cast<std::size_t>(vyhovuje));
        } catch (const std::bad_alloc&) {
            outOfMemory(job, c);
            return 1;
        }
        copyMatching(tabulka, pocet, job.filters, vyhovuje, selected.data(), dnes);
        tabulka = selected.data();
        pocet = vyhovuje;
    }
    return orderAndWrite(tabulka, pocet, job, now, c) ? 0 : 1;
}
