#include "outside/GridControl.h"

#include "outside/AppServices.h"
#include "outside/ProductInfo.h"
#include "outside/WindowHandle.h"
#include "outside/WindowServices.h"
#include "outside/ctlGrid.h"

GridControl::GridControl(const QString& name, QWidget* parent)
    : QWidget(parent), grid_(new ctlGrid(this)) {
    setObjectName(name);
    productInfo_ = std::make_unique<ProductInfo>();
    windowServices_ = std::make_unique<WindowServices>();
    appServices_ = std::make_unique<AppServices>();
    systemModule_ = appServices_->LoadSystemModule(QStringLiteral("shell32.dll"));
    windowServices_->InitializeControls();
    setFocusProxy(grid_);
    connect(grid_, &ctlGrid::CellClick, this, &GridControl::Grid_CellClick);
    connect(grid_, &ctlGrid::CellKeyPress, this, &GridControl::Grid_CellKeyPress);
}

GridControl::~GridControl() {
    appServices_->FreeSystemModule(systemModule_);
}

void GridControl::resizeEvent(QResizeEvent*) {
    grid_->setGeometry(rect());
}

qint32 GridControl::GethWnd() {
    return WindowHandle::Of(this);
}

qint32 GridControl::GetGridWidth() const {
    return grid_->GetGridWidth(true);
}

qint32 GridControl::GetGridHeight() const {
    return grid_->GetGridHeight(true);
}

void GridControl::Grid_CellClick(qint32 column, qint32 row) {
    try {
        CellChosen(column, row);
    } catch (const AppError& error) {
        appServices_->ReportError(error);
    }
}

void GridControl::Grid_CellKeyPress(qint32 column, qint32 row, qint16& key) {
    if (key == 32 || key == 13)
        Grid_CellClick(column, row);
}
