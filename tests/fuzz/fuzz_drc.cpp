// DRC capability data is outside input to the host: the property-tree parser and the capability
// loader must refuse any text with an error, never crash or hang.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "hdi/PM_DRC_Caps_Loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    PM_Object drc;
    std::string error;
    if (drc.load_text(text, "fuzz.drc", error)) {
        for (const auto& node : drc.children("\\DPIA_directory")) {
            std::string a, b;
            extract_compound_str_ex(drc.GetProperty("\\DPIA_directory\\" + node + "\\descriptor"),
                                    a, b);
        }
        // The driver identifies itself from the directory's first entry, as a node.
        if (auto it = drc.newIterator("\\DPIA_directory")) {
            std::string name;
            int type = 0;
            std::size_t entries = 0;
            while (it->nextNode(name, type)) {
                if (type != PM_Object::kNodeTypeNode && type != PM_Object::kNodeTypeProperty)
                    __builtin_trap();
                ++entries;
            }
            if (entries !=
                drc.children("\\DPIA_directory").size() + drc.properties("\\DPIA_directory").size())
                __builtin_trap();
        }
    } else if (error.rfind("fuzz.drc:", 0) != 0) {
        __builtin_trap();  // every parse error names the file and line
    }
    // The loader reads from a file, as the host does.
    static const std::string path = "/tmp/fuzz_drc_" + std::to_string(getpid()) + ".drc";
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
        HT_Std_Plotter_Capabilities caps;
        SPMP<PM_DRC_Caps_Loader> loader(new PM_DRC_Caps_Loader(nullptr));
        if (loader->load(path, caps, error) && (caps.get_media_capabilities()->sizes.empty() ||
                                                !caps.find_media(caps.default_media())))
            __builtin_trap();  // a successful load always has usable defaults
        std::remove(path.c_str());
    }
    return 0;
}
