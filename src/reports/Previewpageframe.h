#pragma once
// The pages of one report in the print preview, with the page control, the
// two zooms, the maximise button, Print and Close.
#include "ReportLayer.h"

#include <QScrollArea>
#include <QWidget>

#include <functional>

class QLabel;
class QToolButton;
class QPushButton;
class TSpinControl;

// One page at a zoom; the scroll area around it keeps the zoom mode.
class TPageDisplay : public QScrollArea {
    Q_OBJECT
public:
    enum class TZoom { ToWidth, ToFit };
    explicit TPageDisplay(QWidget* parent = nullptr);

    void SetPages(std::vector<report::TPage> pages);
    const std::vector<report::TPage>& Pages() const { return FPages; }
    int PageCount() const { return int(FPages.size()); }
    int PageNumber() const { return FPage; }
    // Shows page `n` when it exists; another number changes nothing.
    void SetPageNumber(int n);
    void SetZoom(TZoom zoom);
    TZoom Zoom() const { return FZoom; }
    // The size a page is drawn at, in pixels.
    QSize PageSize() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class TPageView;
    void Relayout();

    std::vector<report::TPage> FPages;
    int FPage = 1;
    TZoom FZoom = TZoom::ToWidth;
};

class TfrmPreviewPage : public QWidget {
    Q_OBJECT
public:
    explicit TfrmPreviewPage(QWidget* parent = nullptr);

    QWidget* pnlPageControl;
    TSpinControl* PageSpinEdit;
    QToolButton *btnPrint, *btnZoomToFit, *btnFitToPage, *btnFullScreen;
    QPushButton* btnClose;
    TPageDisplay* qrpPageDisplay;

    // Shows the pages of a report from page 1, zoomed to width.
    void AttachPages(std::vector<report::TPage> pages);
    void PageSpinEditChange();

    std::function<void()> OnPrint;
    std::function<void()> OnClose;

private:
    bool FSettingPage = false;
};
