// Names adapted to each target, the words of the user's maps, and the one
// table of rules and warnings kept consistent.

#include "translation/maps.h"
#include "translation/names.h"
#include "translation/rules.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using K = Vendor;

TEST(Names, AdaptedToEachTargetsRules) {
    const struct {
        Vendor target;
        NameKind kind;
        const char* source;
        const char* expected;
    } cases[] = {
        {K::kuka, NameKind::point, "XP1", "XP1"},
        {K::kuka, NameKind::point, "P 1", "P_1"},
        {K::kuka, NameKind::routine, "1st_pick", "N1st_pick"},
        {K::kuka, NameKind::point, "approach_position_of_table_2", "approach_position_of_tab"},
        {K::abb, NameKind::routine,
         "\xc3\x9c"
         "bergabe",
         "N__bergabe"},
        {K::abb, NameKind::point, "a_name_of_thirty_three_characters",
         "a_name_of_thirty_three_character"},
        {K::abb, NameKind::point, "", "N"},
        {K::fanuc, NameKind::routine, "pick_part", "PICK_PAR"},
        {K::fanuc, NameKind::program, "glue", "GLUE"},
        {K::fanuc, NameKind::point, "approach position 1", "approach_positio"},
        {K::fanuc, NameKind::point, "1st", "1st"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        EXPECT_EQ(adaptName(c.target, c.kind, c.source), c.expected);
    }
}

TEST(Names, CollisionsAreNumberedInTheOrderMet) {
    const struct {
        Vendor target;
        NameKind kind;
        const char* key;
        const char* source;
        const char* expected;
        bool renamed;
    } steps[] = {
        // Two FANUC positions with the same comment are two points.
        {K::kuka, NameKind::point, "P[1]", "APPROACH", "APPROACH", false},
        {K::kuka, NameKind::point, "P[2]", "APPROACH", "APPROACH_2", true},
        {K::kuka, NameKind::point, "P[1]", "APPROACH", "APPROACH", false},
        {K::kuka, NameKind::point, "P[3]", "approach", "approach_3", true},
        {K::kuka, NameKind::point, "P[4]", "END", "END_2", true},
        {K::kuka, NameKind::routine, "AAAAAAAAAAAAAAAAAAAAAAAAZ", "AAAAAAAAAAAAAAAAAAAAAAAAZ",
         "AAAAAAAAAAAAAAAAAAAAAAAA", true},
        {K::kuka, NameKind::routine, "AAAAAAAAAAAAAAAAAAAAAAAAY", "AAAAAAAAAAAAAAAAAAAAAAAAY",
         "AAAAAAAAAAAAAAAAAAAAAA_2", true},
    };
    NameTable table = startNames(K::kuka);
    for (const auto& s : steps) {
        SCOPED_TRACE(s.key);
        bool renamed = true;
        EXPECT_EQ(assignName(table, s.kind, s.key, s.source, renamed), s.expected);
        EXPECT_EQ(renamed, s.renamed);
    }

    NameTable fanuc = startNames(K::fanuc);
    bool renamed = false;
    EXPECT_EQ(assignName(fanuc, NameKind::routine, "PICK_PART_A", "pick_part_a", renamed),
              "PICK_PAR");
    EXPECT_EQ(assignName(fanuc, NameKind::routine, "PICK_PART_B", "pick_part_b", renamed),
              "PICK_P_2");
    // Position comments have a space of their own.
    EXPECT_EQ(assignName(fanuc, NameKind::point, "XP1", "PICK_PAR", renamed), "PICK_PAR");
    EXPECT_FALSE(renamed);

    NameTable rapid = startNames(K::abb);
    reserveName(rapid, NameKind::routine, "main");
    EXPECT_EQ(assignName(rapid, NameKind::routine, "MAIN", "Main", renamed), "Main_2");
    EXPECT_EQ(assignName(rapid, NameKind::point, "PROC", "proc", renamed), "proc_2");
}

TEST(Maps, ReferenceWordsPerVendorAndSide) {
    const struct {
        const char* word;
        Vendor vendor;
        ReferenceKind kind;
        bool targetSide;
        bool ok;
        int number;
        const char* name;
    } cases[] = {
        {"3", K::kuka, ReferenceKind::frame, true, true, 3, ""},
        {" 32 ", K::kuka, ReferenceKind::frame, true, true, 32, ""},
        {"33", K::kuka, ReferenceKind::frame, true, false, 0, ""},
        {"17", K::kuka, ReferenceKind::tool, true, false, 0, ""},
        {"100", K::kuka, ReferenceKind::frame, false, true, 100, ""},
        {"0", K::fanuc, ReferenceKind::frame, true, true, 0, ""},
        {"0", K::fanuc, ReferenceKind::tool, true, false, 0, ""},
        {"10", K::fanuc, ReferenceKind::tool, true, true, 10, ""},
        {"-1", K::fanuc, ReferenceKind::frame, false, false, 0, ""},
        {"UF3", K::fanuc, ReferenceKind::frame, false, false, 0, ""},
        {"wobjTable", K::abb, ReferenceKind::frame, true, true, 0, "wobjTable"},
        {"wobj Table", K::abb, ReferenceKind::frame, true, false, 0, ""},
        {"3tool", K::abb, ReferenceKind::tool, true, false, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        Reference r;
        std::string message;
        ASSERT_EQ(parseReferenceWord(c.word, c.vendor, c.kind, c.targetSide, r, message), c.ok);
        if (c.ok) {
            EXPECT_EQ(r.number, c.number);
            EXPECT_EQ(r.name, c.name);
        } else {
            EXPECT_NE(message.find(c.word), std::string::npos) << message;
        }
    }
    ReferencePair pair;
    std::string message;
    EXPECT_TRUE(
        parseReferencePair("3=wobjTable", K::kuka, K::abb, ReferenceKind::frame, pair, message));
    EXPECT_EQ(pair.source.number, 3);
    EXPECT_EQ(pair.target.name, "wobjTable");
    EXPECT_FALSE(parseReferencePair("3", K::kuka, K::abb, ReferenceKind::frame, pair, message));
    EXPECT_FALSE(
        parseReferencePair("=wobj1", K::kuka, K::abb, ReferenceKind::frame, pair, message));
}

TEST(Maps, SignalWordsAreNormalised) {
    const struct {
        const char* word;
        Vendor vendor;
        const char* expected; // "" for refused
    } cases[] = {
        {"$out[ 3]", K::kuka, "$OUT[3]"},
        {"$IN[12]", K::kuka, "$IN[12]"},
        {"$OUT[0]", K::kuka, ""},
        {"gDoGrip", K::kuka, "gDoGrip"},
        {"do[5]", K::fanuc, "DO[5]"},
        {"RI[2]", K::fanuc, "RI[2]"},
        {"DO5", K::fanuc, ""},
        {"doGrip", K::fanuc, ""},
        {"doGrip", K::abb, "doGrip"},
        {"$OUT[1]", K::abb, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        std::string out;
        std::string message;
        EXPECT_EQ(parseSignalWord(c.word, c.vendor, out, message), c.expected[0] != '\0');
        if (c.expected[0] != '\0') {
            EXPECT_EQ(out, c.expected);
        }
    }
    EXPECT_TRUE(signalCanBe("DO[1]", true));
    EXPECT_FALSE(signalCanBe("DO[1]", false));
    EXPECT_FALSE(signalCanBe("$IN[1]", true));
    EXPECT_TRUE(signalCanBe("doGrip", true) && signalCanBe("doGrip", false));
}

TEST(Maps, BlendWordsOfEachVendor) {
    const struct {
        const char* word;
        bool ok;
        BlendKind kind;
        float value;
        const char* name;
    } cases[] = {
        {"CNT100", true, BlendKind::fanucCnt, 100, ""},
        {"cnt0", true, BlendKind::fanucCnt, 0, ""},
        {"CNT101", false, BlendKind::stop, 0, ""},
        {"CNT", false, BlendKind::stop, 0, ""},
        {"C_DIS10", true, BlendKind::kukaDistance, 10, ""},
        {"c_dis12.5", true, BlendKind::kukaDistance, 12.5f, ""},
        {"C_PTP50", true, BlendKind::kukaPtp, 50, ""},
        {"C_VEL80", true, BlendKind::kukaVelocity, 80, ""},
        {"C_ORI5", true, BlendKind::kukaOrientation, 5, ""},
        {"C_PTP", false, BlendKind::stop, 0, ""},
        {"C_DIS-1", false, BlendKind::stop, 0, ""},
        {"FINE", true, BlendKind::stop, 0, ""},
        {"z10", true, BlendKind::abbZone, 0, "z10"},
        {"zGlue", true, BlendKind::abbZone, 0, "zGlue"},
        {"10", false, BlendKind::stop, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        BlendWord word;
        std::string message;
        ASSERT_EQ(parseBlendWord(c.word, word, message), c.ok) << message;
        if (c.ok) {
            EXPECT_EQ(word.blend.kind, c.kind);
            EXPECT_EQ(word.blend.value, c.value);
            EXPECT_EQ(word.blend.name, c.name);
        }
    }
    BlendPair pair;
    std::string message;
    EXPECT_TRUE(parseBlendPair("CNT50=C_DIS10", pair, message));
    EXPECT_EQ(pair.source.vendor, K::fanuc);
    EXPECT_EQ(pair.target.vendor, K::kuka);
    EXPECT_FALSE(parseBlendPair("CNT50", pair, message));
    // Entries that could never apply.
    EXPECT_FALSE(parseBlendPair("FINE=CNT10", pair, message));
    EXPECT_FALSE(parseBlendPair("CNT50=zMine", pair, message));
    EXPECT_TRUE(parseBlendPair("zMine=CNT50", pair, message));
}

TEST(RuleTable, EveryRuleOnceInOrderWithAWarningWhereItsOutcomeNeedsOne) {
    std::set<std::string> names;
    int index = 0;
    for (const Rule& r : allRules()) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(static_cast<int>(r.id), index++);
        EXPECT_TRUE(names.insert(r.name).second);
        EXPECT_STRNE(r.reason, "");
        const bool warned = r.warning != WarningCode::none;
        switch (r.outcome) {
        case RuleOutcome::approximated:
        case RuleOutcome::kept:
            // keptConstruct takes the reader's code instead.
            EXPECT_TRUE(warned || r.id == RuleId::keptConstruct);
            break;
        case RuleOutcome::refused:
        case RuleOutcome::structural:
        case RuleOutcome::blank:
            EXPECT_FALSE(warned);
            break;
        case RuleOutcome::exact:
            break;
        }
    }
    EXPECT_EQ(index, static_cast<int>(RuleId::targetLimit) + 1);

    std::set<std::string> words;
    for (const WarningInfo& w : allWarnings()) {
        SCOPED_TRACE(w.word);
        EXPECT_TRUE(words.insert(w.word).second);
        EXPECT_EQ(std::string(warningWord(w.code)), w.word);
        EXPECT_STRNE(w.meaning, "");
    }
    EXPECT_EQ(words.size(), static_cast<std::size_t>(WarningCode::statementKept));
}

} // namespace
