// The editor's texture pack loading. The first input byte chooses how the rest is taken: as
// the archive's bytes (even), or as a list of entries packed into a stored zip by the harness
// (odd), so that mutated PNG and JPEG pictures pass the archive's check sums and reach the
// decoders. Whatever the archive holds, air comes first, every entry keeps its place and
// every picture is 32 x 32.
#include <cstdint>
#include <span>
#include <vector>

#include "common/BlockNames.h"
#include "common/Constants.h"
#include "common/TexturePackArchive.h"
#include "editor/model/Editor.h"
#include "editor/packs/TexturePackLoader.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace stackmason;
    using fuzz::Require;
    if (size == 0)
        return -1;
    const std::span<const std::uint8_t> rest(data + 1, size - 1);
    const std::vector<std::uint8_t> archiveBytes =
        (data[0] & 1) ? fuzz::StoredZip(fuzz::DecodeEntries(rest)) : std::vector<std::uint8_t>(rest.begin(), rest.end());
    const std::string path = fuzz::WriteScratchFile("pack.zip", archiveBytes);

    HeadlessPainter painter;
    HeadlessWindow window;
    fuzz::CountingDialogs dialogs;
    Editor editor{painter, window, dialogs};
    editor.texturePackName = path;
    LoadTexturePack(editor);

    const std::optional<TexturePackArchive> archive = TexturePackArchive::Open(path);
    const std::optional<TexturePackArchive> inMemory = TexturePackArchive::OpenFromMemory(archiveBytes);
    // libzip takes an empty file for an empty archive but not an empty buffer; either way no
    // block is there.
    const int entries = archive ? archive->EntryCount() : 0;
    Require((inMemory ? inMemory->EntryCount() : 0) == entries, "file and memory list alike");
    Require(editor.selector.Count() == entries + 1, "one item per entry after air");
    Require(editor.selector.ItemAt(0).text == "Air" && editor.selector.Data(0) == 0, "air first");
    for (int i = 0; i <= entries; ++i) {
        const Image& picture = editor.selector.ItemAt(i).image;
        Require(picture.Width() == kTileSize && picture.Height() == kTileSize, "32 x 32 pictures");
        if (i > 0)
            Require(editor.selector.Data(i) == BlockIdFromEntryName(archive->Entry(i - 1).name), "block id");
    }
    Require(dialogs.errors.empty(), "pack loading is silent");
    return 0;
}
