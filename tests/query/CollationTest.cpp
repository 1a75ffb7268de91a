#include "query/Collation.hpp"

#include <gtest/gtest.h>

#include <unicode/ucnv.h>
#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <map>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

// The bytes of a text in the code page to, of bytes in the code page from, by ICU's converters.
std::string convert(const std::string& bytes, const char* to, const char* from) {
    std::string converted(4 * bytes.size() + 4, '\0');
    UErrorCode status = U_ZERO_ERROR;
    converted.resize(static_cast<std::size_t>(ucnv_convert(to, from, converted.data(),
                                                           static_cast<int32_t>(converted.size()), bytes.data(),
                                                           static_cast<int32_t>(bytes.size()), &status)));
    return converted;
}

bool validUtf8(const std::string& bytes) {
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8(nullptr, 0, nullptr, bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    return status != U_INVALID_CHAR_FOUND;
}

std::vector<uint32_t> ranksOf(const std::vector<std::string>& texts, unsigned workers = 1) {
    const std::vector<std::string_view> views(texts.begin(), texts.end());
    const HugeVector<uint32_t> ranks = slovakRanks(views, workers);
    return {ranks.begin(), ranks.end()};
}

// A random Slovak name in UTF-8, of at most 19 bytes: the letters and pairs
// that order apart, capitals, names only in case apart.
std::string randomName(std::mt19937& random) {
    static const std::vector<std::string> pieces = {
        "a", "á", "ä", "b", "c", "č", "ch", "d", "ď", "dz", "dž", "e", "é", "h", "i", "í", "k", "l", "ľ", "ĺ",
        "n", "ň", "o", "ó", "ô", "r", "ŕ", "s", "š", "t", "ť", "u", "ú", "y", "ý", "z", "ž", "ová", "ek", "ka",
        "A", "Á", "Ä", "C", "Č", "Ch", "CH", "D", "Ď", "Dz", "Dž", "O", "Ô", "S", "Š", "Z", "Ž"};
    std::string name;
    for (int i = std::uniform_int_distribution(1, 5)(random); i > 0; --i) {
        const std::string& piece = pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
        if (name.size() + piece.size() > 19) {
            break;
        }
        name += piece;
    }
    return name;
}

} // namespace

TEST(Collation, OptionValues) {
    EXPECT_EQ(collationFor("bytes"), Collation::bytes);
    EXPECT_EQ(collationFor("sk"), Collation::sk);
    EXPECT_EQ(collationFor("SK"), std::nullopt);
    EXPECT_EQ(collationFor(""), std::nullopt);
}

TEST(Collation, SlovakLettersAccentsAndCapitalsAsIcuOrdersThem) {
    // In ICU's order ä, č, ch, š, ž are letters of their own; an accent that
    // makes none (á, ď) and then capitals decide only between equal letters.
    const std::vector<std::string> in_order = {"abel",   "Abel",   "Ábel",  "Abelová", "Ärmel",    "Cibulková",
                                               "Cyril",  "Čierny", "Dobrý", "Ďurica",  "Dzurilla", "Džurinda",
                                               "Hruška", "Chovanec", "Šťastný", "Zelená", "Žiak"};
    std::vector<std::string> texts(in_order.rbegin(), in_order.rend());
    texts.push_back(convert("Šťastný", "windows-1250", "UTF-8"));
    texts.push_back("\x80\x81");     // the euro sign, and an unassigned byte the collation ignores
    texts.push_back("\xE2\x82\xAC"); // the euro sign in UTF-8
    const std::vector<uint32_t> ranks = ranksOf(texts);
    const std::size_t n = in_order.size();
    for (std::size_t i = 1; i < n; ++i) {
        EXPECT_LT(ranks[n - i], ranks[n - 1 - i]) << in_order[i - 1] << " before " << in_order[i];
    }
    EXPECT_EQ(ranks[n], ranks[2]) << "Šťastný in windows-1250";
    EXPECT_EQ(ranks[n + 1], ranks[n + 2]) << "€ in windows-1250 and in UTF-8";
}

// Ranks order as ICU's own comparison of the decoded texts does: the same
// name in UTF-8 and in windows-1250 ties, and so do texts apart only in what
// the collation ignores. Enough texts for two workers.
TEST(Collation, RanksOrderAsIcuComparesRandomNamesInUtf8AndWindows1250) {
    std::mt19937 random(2026);
    std::map<std::string, std::string> meant; // bytes -> the text they stand for, in UTF-8
    const auto add = [&meant](const std::string& bytes, const std::string& text) {
        // Bytes that happen to be valid UTF-8 are read as UTF-8.
        if (bytes == text || !validUtf8(bytes)) {
            meant.emplace(bytes, text);
        }
    };
    while (meant.size() < 12000) {
        const std::string name = randomName(random);
        add(name, name);
        add(convert(name, "windows-1250", "UTF-8"), name);
        if (random() % 64 == 0) { // a character of eighteen letters: a sort key longer than most
            add(name + "\uFDFA", name + "\uFDFA");
        }
        if (random() % 8 == 0) { // any bytes at all, up to a field's 19
            std::string bytes(std::uniform_int_distribution<std::size_t>(1, 19)(random), '\0');
            for (char& b : bytes) {
                b = static_cast<char>(std::uniform_int_distribution(1, 255)(random));
            }
            add(bytes, convert(bytes, "UTF-8", "windows-1250"));
        }
    }
    std::vector<std::string> texts;
    for (const auto& entry : meant) {
        texts.push_back(entry.first);
    }
    std::shuffle(texts.begin(), texts.end(), random);

    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UCollator, void (*)(UCollator*)> reference(ucol_open("sk", &status), ucol_close);
    ASSERT_EQ(status, U_ZERO_ERROR);
    const auto compare = [&](const std::string& x, const std::string& y) {
        const std::string& a = meant[x];
        const std::string& b = meant[y];
        return ucol_strcollUTF8(reference.get(), a.data(), static_cast<int32_t>(a.size()), b.data(),
                                static_cast<int32_t>(b.size()), &status);
    };
    for (const unsigned workers : {1u, 2u}) {
        const std::vector<uint32_t> ranks = ranksOf(texts, workers);
        std::vector<std::size_t> order(texts.size());
        std::iota(order.begin(), order.end(), std::size_t{0});
        std::sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) { return ranks[x] < ranks[y]; });
        ASSERT_EQ(ranks[order[0]], 0u);
        std::size_t ties = 0;
        for (std::size_t k = 1; k < order.size(); ++k) {
            const std::string& x = texts[order[k - 1]];
            const std::string& y = texts[order[k]];
            const uint32_t step = ranks[order[k]] - ranks[order[k - 1]];
            ASSERT_LE(step, 1u) << "ranks leave a gap";
            ASSERT_EQ(compare(x, y), step == 0 ? UCOL_EQUAL : UCOL_LESS) << x << " | " << y;
            ties += step == 0;
        }
        EXPECT_GT(ties, 1000u);
        EXPECT_EQ(status, U_ZERO_ERROR);
    }
}

TEST(Collation, NoTextsNoRanks) { EXPECT_TRUE(ranksOf({}).empty()); }

TEST(Collation, ACollatorOrCodePageIcuCannotGiveOrATextTooLongIsAnErrorToReport) {
    const std::vector<std::string_view> texts = {"Novak"};
    EXPECT_THROW(detail::collationRanks(texts, "xx", "windows-1250", 1), CollationError); // root would stand in
    EXPECT_THROW(detail::collationRanks(texts, "sk", "no-such-code-page", 1), CollationError);
    EXPECT_THROW(detail::collationRanks(texts, "sk", "Shift_JIS", 1), CollationError); // not one byte a character
    const std::string longest(std::size_t{64} << 10, 'a');
    EXPECT_EQ(slovakRanks(std::vector<std::string_view>{longest}).size(), 1u);
    EXPECT_THROW(slovakRanks(std::vector<std::string_view>{longest + 'a'}), CollationError);
}
