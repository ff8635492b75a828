#include "editor/canvas/Mirroring.h"

#include <utility>
#include <variant>

#include "editor/canvas/CanvasInput.h"
#include "editor/model/Editor.h"

namespace stackmason {
namespace {

bool MirrorsLeftRight(MirrorMode mode) { return mode == MirrorMode::LeftRight || mode == MirrorMode::Both; }
bool MirrorsFrontBack(MirrorMode mode) { return mode == MirrorMode::FrontBack || mode == MirrorMode::Both; }

void AddImage(ColumnImages& images, MirrorColumn original, MirrorColumn image) {
    if (image == original)
        return;
    for (int i = 0; i < images.count; ++i)
        if (images.columns[static_cast<std::size_t>(i)] == image)
            return;
    images.columns[static_cast<std::size_t>(images.count++)] = image;
}

struct Reflector {
    MirrorMode mode;
    int width;
    int length;

    ColumnImages ImagesOf(int x, int y) const { return MirrorImagesOf(mode, width, length, x, y); }

    std::vector<Edit> operator()(const edit::SetCell& edit) const {
        const edit::CellWrite& write = edit.write;
        const ColumnImages images = ImagesOf(write.x, write.y);
        std::vector<Edit> reflections;
        for (int i = 0; i < images.count; ++i) {
            const MirrorColumn& column = images.columns[static_cast<std::size_t>(i)];
            reflections.emplace_back(edit::SetCell{{column.x, column.y, write.h, write.code}});
        }
        return reflections;
    }
    std::vector<Edit> operator()(const edit::SetColumn& edit) const {
        const ColumnImages images = ImagesOf(edit.x, edit.y);
        std::vector<Edit> reflections;
        for (int i = 0; i < images.count; ++i) {
            const MirrorColumn& column = images.columns[static_cast<std::size_t>(i)];
            reflections.emplace_back(edit::SetColumn{column.x, column.y, edit.top, edit.bottom, edit.code});
        }
        return reflections;
    }
    // One list for all the images, so that a line or a brush and its images make two edits.
    std::vector<Edit> operator()(const edit::SetCells& edit) const {
        edit::SetCells reflected;
        for (const edit::CellWrite& write : edit.writes) {
            const ColumnImages images = ImagesOf(write.x, write.y);
            for (int i = 0; i < images.count; ++i) {
                const MirrorColumn& column = images.columns[static_cast<std::size_t>(i)];
                reflected.writes.push_back({column.x, column.y, write.h, write.code});
            }
        }
        std::vector<Edit> reflections;
        if (!reflected.writes.empty())
            reflections.emplace_back(std::move(reflected));
        return reflections;
    }
    template <typename Other>
    std::vector<Edit> operator()(const Other&) const {
        return {};
    }
};

}  // namespace

MirrorMode NextMirrorMode(MirrorMode mode) {
    switch (mode) {
    case MirrorMode::Off: return MirrorMode::LeftRight;
    case MirrorMode::LeftRight: return MirrorMode::FrontBack;
    case MirrorMode::FrontBack: return MirrorMode::Both;
    case MirrorMode::Both: return MirrorMode::Off;
    }
    return MirrorMode::Off;
}

std::string_view MirrorModeName(MirrorMode mode) {
    switch (mode) {
    case MirrorMode::Off: return "off";
    case MirrorMode::LeftRight: return "left-right";
    case MirrorMode::FrontBack: return "front-back";
    case MirrorMode::Both: return "both";
    }
    return "off";
}

ColumnImages MirrorImagesOf(MirrorMode mode, int width, int length, int x, int y) {
    const MirrorColumn original{x, y};
    const int mirroredX = width + 1 - x;
    const int mirroredY = length + 1 - y;
    ColumnImages images;
    if (MirrorsLeftRight(mode))
        AddImage(images, original, {mirroredX, y});
    if (MirrorsFrontBack(mode))
        AddImage(images, original, {x, mirroredY});
    if (mode == MirrorMode::Both)
        AddImage(images, original, {mirroredX, mirroredY});
    return images;
}

std::vector<Edit> ReflectionsOf(const Edit& edit, MirrorMode mode, int width, int length) {
    if (mode == MirrorMode::Off)
        return {};
    return std::visit(Reflector{mode, width, length}, edit);
}

void ApplyMirrored(Editor& editor, Edit edit) {
    // The images mirror the edit itself, taken before it is moved into the building.
    std::vector<Edit> reflections = ReflectionsOf(edit, editor.mirrorMode, editor.grid.Width(), editor.grid.Length());
    ApplyEdit(editor, std::move(edit));
    for (Edit& reflection : reflections)
        ApplyEdit(editor, std::move(reflection));
}

void CycleMirrorMode(Editor& editor) {
    editor.mirrorMode = NextMirrorMode(editor.mirrorMode);
    ShowTitleReadout(editor);
}

std::string MirrorDrawingLabel(const Editor& editor) {
    return "Mirror drawing: " + std::string(MirrorModeName(editor.mirrorMode));
}

}  // namespace stackmason
