#include "editor/shell/DispatchCommand.h"

#include "editor/canvas/CanvasInput.h"
#include "editor/canvas/CanvasRepaint.h"
#include "editor/shell/CommandTable.h"

namespace stackmason {

void DispatchCommand(Editor& editor, int commandId) {
    const Command* command = FindCommand(commandId);
    if (!command)
        return;
    RunShownAction(editor, command->actionName, [&] {
        command->run(editor);
        if (command->showsReadout)
            ShowTitleReadout(editor);
    });
}

}  // namespace stackmason
