#pragma once

// Shared by the whole-file reader targets: any bytes, read as a file of one
// vendor, must give records whose "ok" poses are rigid transformations (joint
// values aside, which are axes), whose numbers lie in the file and whose JSON
// lines are valid JSON, whatever the bytes were.

#include "cli/output/list_output.h"
#include "fuzz/fuzz_input.h"
#include "math/matrix_validation.h"
#include "robotfiles/file_scan.h"
#include "robotfiles/pose_matrix.h"

#include <nlohmann/json.hpp>

#include <string_view>

inline int checkFileReader(const std::uint8_t* data, std::size_t size, Vendor vendor) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    OutputSettings settings;
    settings.format = OutputFormat::json;
    ScanCallbacks callbacks;
    callbacks.pose = [&](const PoseRecord& pose) {
        FUZZ_CHECK(pose.line >= 1 && pose.column >= 1 && pose.offset < size);
        for (const PoseMember& member : pose.values) {
            FUZZ_CHECK(member.text.offset + member.text.length <= size);
        }
        for (const PoseMember& axis : pose.axes) {
            FUZZ_CHECK(axis.text.offset + axis.text.length <= size);
            FUZZ_CHECK(!axis.key.empty() && (axis.key[0] == 'a' || axis.key[0] == 'e'));
        }
        // Joint values are axes, never a Cartesian pose; every other "ok"
        // pose is a rigid transformation.
        Transform m;
        if (pose.role == PoseRole::joint) {
            FUZZ_CHECK(pose.values.empty() && !transformOfRecord(pose, m));
        } else {
            FUZZ_CHECK(pose.axes.empty());
            if (pose.status == PoseStatus::ok) {
                FUZZ_CHECK(transformOfRecord(pose, m));
                FUZZ_CHECK(isRigidTransform(m));
            }
        }
        std::string line;
        appendJsonRecord(line, settings, "fuzz", pose);
        FUZZ_CHECK(nlohmann::json::accept(line));
    };
    callbacks.warning = [&](const ScanWarning& warning) {
        FUZZ_CHECK(warning.line >= 1 && !warning.message.empty());
    };
    scanText(text, vendor, callbacks);
    return 0;
}
