// Any bytes as the names, comments, types, file names and titles of a plot:
// the page's data element cannot be closed by them, its JSON parses back to
// the very texts (invalid UTF-8 as U+FFFD), and the SVG stays well-formed
// XML whose labels read back as the texts. The escapers alone are checked on
// the same bytes, whatever the writers around them become.

#include "cli/output/escape.h"
#include "cli/plot/plot_output.h"
#include "fuzz/escape_check.h"
#include "fuzz/fuzz_input.h"

#include <fuzzer/FuzzedDataProvider.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// The page's library and code are large and take no part in escaping: the
// writer gets small stand-ins of the pieces the build embeds.
extern const std::string_view threeJs[] = {"var THREE = {};", ""};
extern const std::string_view orbitControlsJs[] = {"THREE.OrbitControls = function () {};", ""};
extern const std::string_view pageHtml[] = {
    "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"></head><body>\n", ""};
extern const std::string_view pageJs[] = {"document.title = 'plot';", ""};

namespace {

const char* const dataStart = "<script type=\"application/json\" id=\"plot-data\">";

// What a writer wrote, through a sink on a stream in memory.
template <typename Write>
std::string written(PlotScene scene, Write write) {
    char* buffer = nullptr;
    std::size_t length = 0;
    std::FILE* stream = open_memstream(&buffer, &length);
    FUZZ_CHECK(stream != nullptr);
    PlotSink sink;
    sink.stream = stream;
    write(sink, scene);
    FUZZ_CHECK(!sink.failed);
    std::fclose(stream);
    std::string out(buffer, length);
    std::free(buffer);
    return out;
}

void checkEscapers(const std::string& bytes) {
    const std::string expected = expectedJsonText(bytes);
    for (const std::string& quoted : {jsonQuoted(bytes), pageJsonQuoted(bytes)}) {
        const nlohmann::json value = nlohmann::json::parse(quoted, nullptr, false);
        FUZZ_CHECK(value.is_string() && value.get<std::string>() == expected);
    }
    FUZZ_CHECK(pageJsonQuoted(bytes).find_first_of("<>&") == std::string::npos);
    std::vector<XmlElement> elements;
    FUZZ_CHECK(wellFormedXml("<t>" + xmlEscaped(bytes) + "</t>", elements));
    FUZZ_CHECK(elements.size() == 1 && elements[0].text == expectedXmlText(bytes));
}

bool hasText(const std::vector<XmlElement>& elements, const char* name, const std::string& text) {
    return std::any_of(elements.begin(), elements.end(), [&](const XmlElement& element) {
        return element.name == name && element.text == text;
    });
}

// Whether the legend says that labels were left out: a label that would
// overlap another or leave its view is dropped, and only then.
bool labelsLeftOut(const std::vector<XmlElement>& elements) {
    return std::any_of(elements.begin(), elements.end(), [](const XmlElement& element) {
        return element.name == "text" && element.text.find(" left out where ") != std::string::npos;
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::uint8_t choice = input.ConsumeIntegral<std::uint8_t>();
    std::string texts[6];
    for (std::string& text : texts) {
        text = input.ConsumeRandomLengthString(512);
    }
    const std::string& name = texts[0];
    const std::string& comment = texts[1];
    const std::string& type = texts[2];
    for (const std::string& text : texts) {
        checkEscapers(text);
    }

    PlotScene scene;
    scene.kind = static_cast<PlotKind>(choice % 3);
    scene.title = texts[3];
    scene.summary = texts[4];
    scene.files.push_back(PlotFile{texts[5], static_cast<Vendor>((choice >> 2) % 3)});
    scene.memberSets.push_back("X Y Z A B C");
    // Two poses far from the origin and from each other, so that no label
    // hides another: one named, one shown by its type.
    PlotPose named;
    named.name = name;
    named.comment = comment;
    named.type = "E6POS";
    named.frame = (choice & 32) != 0;
    named.placed = true;
    named.oriented = true;
    named.position[0] = 1000;
    named.position[1] = 2000;
    named.position[2] = 3000;
    named.values = {1000, 2000, 3000, 0, 0, 0};
    if (scene.kind != PlotKind::list) {
        named.role = scene.kind == PlotKind::diff ? PlotRole::moved : PlotRole::measured;
        named.hasFrom = true;
        named.from[0] = 1001;
        named.distanceMm = 1.5;
    }
    if (scene.kind == PlotKind::fit) {
        scene.worst = name;
    }
    PlotPose unnamed;
    unnamed.type = type;
    unnamed.placed = true;
    unnamed.position[0] = -3000;
    unnamed.position[1] = -2000;
    unnamed.position[2] = -1000;
    scene.poses = {named, unnamed};
    layOutScene(scene, 0.0);

    // The page: its data ends at the first "</script" after it, and nothing
    // in it can start markup.
    const std::string page = written(scene, writePlotHtml);
    const std::size_t start = page.find(dataStart);
    FUZZ_CHECK(start != std::string::npos);
    const std::size_t from = start + std::strlen(dataStart);
    const std::size_t end = page.find("</script>", from);
    FUZZ_CHECK(end != std::string::npos);
    const std::string_view json = std::string_view(page).substr(from, end - from);
    FUZZ_CHECK(json.find('<') == std::string_view::npos);
    const nlohmann::json value = nlohmann::json::parse(json, nullptr, false);
    FUZZ_CHECK(!value.is_discarded());
    FUZZ_CHECK(value["title"] == expectedJsonText(scene.title));
    FUZZ_CHECK(value["summary"] == expectedJsonText(scene.summary));
    FUZZ_CHECK(value["files"][0]["path"] == expectedJsonText(texts[5]));
    FUZZ_CHECK(value["poses"].size() == 2);
    // A name, like a comment, is left out where there is none.
    FUZZ_CHECK(name.empty() ? !value["poses"][0].contains("n")
                            : value["poses"][0]["n"] == expectedJsonText(name));
    FUZZ_CHECK(comment.empty() ? !value["poses"][0].contains("c")
                               : value["poses"][0]["c"] == expectedJsonText(comment));
    // Types are written once, in "types", and each pose names its own by index.
    const nlohmann::json& typeAt = value["poses"][1]["t"];
    FUZZ_CHECK(typeAt.is_number_unsigned() && typeAt.get<std::size_t>() < value["types"].size());
    FUZZ_CHECK(value["types"][typeAt.get<std::size_t>()] == expectedJsonText(type));

    // The SVG: well-formed, its title and labels the texts.
    const std::string svg = written(scene, writePlotSvg);
    std::vector<XmlElement> elements;
    FUZZ_CHECK(wellFormedXml(svg, elements));
    FUZZ_CHECK(hasText(elements, "title", "posebridge-cli plot: " + expectedXmlText(scene.title)));
    FUZZ_CHECK(hasText(elements, "text", expectedXmlText(scene.title)));
    FUZZ_CHECK(hasText(elements, "text", expectedXmlText(scene.summary)));
    // Each label is there, or the legend says that labels were left out.
    const bool leftOut = labelsLeftOut(elements);
    const std::string shownName = name.empty() ? named.type : name;
    if (scene.kind == PlotKind::fit) {
        FUZZ_CHECK(leftOut ||
                   hasText(elements, "text", "worst: " + expectedXmlText(name) + ", 1.500 mm"));
    } else {
        FUZZ_CHECK(leftOut || hasText(elements, "text", expectedXmlText(shownName)));
    }
    // In a fit the pose named as the worst is labelled as the worst only.
    if (scene.kind != PlotKind::fit || !name.empty()) {
        FUZZ_CHECK(leftOut || hasText(elements, "text", expectedXmlText(type)));
    }
    return 0;
}
