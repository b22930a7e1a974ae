// The main window's side of the still view's mouse tools: the tools installed on the
// still pane, the eraser and pen buttons with their size pop-ups, the text tool and the
// font dialog.

#include "BrushTool.h"
#include "CMainFrame.h"
#include "CQuorvanView.h"
#include "CommandIds.h"
#include "DeskewTool.h"
#include "TextTool.h"
#include "ToolSizes.h"
#include "ViewToolCommands.h"

#include <QMenu>
#include <QToolBar>

#include <array>

namespace vestrel {

using namespace cmd;
using document::Tool;

void CMainFrame::installStillTools()
{
    stillView_->installTool(std::make_unique<tools::BrushTool>(*doc_, *stillView_, Tool::Eraser));
    stillView_->installTool(std::make_unique<tools::BrushTool>(*doc_, *stillView_, Tool::Pen));
    stillView_->installTool(std::make_unique<tools::TextTool>(*doc_, *stillView_, prompter_));
    stillView_->installTool(std::make_unique<tools::DeskewTool>(*doc_, *stillView_));
    // A double click in full screen leaves it before any tool sees the click.
    stillView_->setFullScreenSource([this] { return fullScreen_; });
}

void CMainFrame::popUpSizeMenu(QMenu* menu, int buttonId)
{
    updateCommandUi();
    QAction* button = action(buttonId);
    for (QToolBar* bar : {leftBar_, mainBar_, secondBar_}) {
        QWidget* widget = bar && button ? bar->widgetForAction(button) : nullptr;
        if (widget && widget->isVisible()) {
            // Beside the button, just right of it.
            menu->popup(widget->mapToGlobal(QPoint(widget->width() + 2, 0)));
            return;
        }
    }
    menu->popup(QCursor::pos());
}

void CMainFrame::registerToolHandlers()
{
    toolCommands_ = std::make_unique<tools::ViewToolCommands>(*doc_, prompter_);
    eraserSizeMenu_ = buildMenu(EraserSizeMenu(), new QMenu(this));
    penSizeMenu_ = buildMenu(PenSizeMenu(), new QMenu(this));

    handlers_[ID_ERASER_TOOL] = [this] {
        const bool on = toolCommands_->OnEraserTool();
        stillView_->refresh();
        if (on) popUpSizeMenu(eraserSizeMenu_, ID_ERASER_TOOL);
    };
    handlers_[ID_PEN_TOOL] = [this] {
        const bool on = toolCommands_->OnPenTool();
        stillView_->refresh();
        if (on) popUpSizeMenu(penSizeMenu_, ID_PEN_TOOL);
    };
    constexpr std::array<int, 4> eraserIds{ID_ERASER_1, ID_ERASER_5, ID_ERASER_10, ID_ERASER_50};
    constexpr std::array<int, 4> penIds{ID_PEN_2, ID_PEN_4, ID_PEN_6, ID_PEN_8};
    for (std::size_t i = 0; i < eraserIds.size(); ++i) {
        handlers_[eraserIds[i]] = [this, side = tools::kEraserSizes[i]] {
            toolCommands_->OnEraserSize(side);
            stillView_->refresh();
        };
        handlers_[penIds[i]] = [this, side = tools::kPenSizes[i]] {
            toolCommands_->OnPenSize(side);
            stillView_->refresh();
        };
    }
    handlers_[ID_ADD_TEXT] = [this] {
        toolCommands_->OnTextTool();
        stillView_->refresh();
    };
    handlers_[ID_SET_FONT] = [this] { toolCommands_->OnSetFont(); };
}

}  // namespace vestrel
