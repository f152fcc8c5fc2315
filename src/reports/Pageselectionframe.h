#pragma once
// The column of page pictures on the left of the print preview, one per
// report in job order; a click on a picture chooses the report previewed.
#include "ReportCatalogue.h"

#include <QFont>
#include <QFrame>
#include <QStringList>

#include <functional>

class QLabel;

// A caption under a page picture as it prints in `room`: its lines, and its
// font, smaller than `font` when the caption would not fit otherwise (a word
// wider than the room, or more lines than its height holds).
struct TCaptionLayout {
    QStringList Lines;
    QFont Font;
};
TCaptionLayout LayCaption(const QString& text, const QFont& font, QSize room);

class TfrmPageSelection : public QFrame {
    Q_OBJECT
public:
    explicit TfrmPageSelection(QWidget* parent = nullptr);

    static constexpr int PictureCount = report::ReportKindCount;
    // The report previewed (a picture's tag, its report's kind), -1 when none.
    int Tag = -1;

    QFrame* Picture(int tag) const { return FPictures[tag]; }
    QFrame* shpHighlightPage;

    // Makes the frame as wide as its captions need to read whole at their
    // size, with no word cut (within bounds): the widest word, or the lines
    // of a long caption; call again after the captions' texts change.
    void FitCaptions();

    // A mouse release on picture `tag` at `pos` (picture coordinates): acts
    // for the left button inside the picture when another report is shown
    // (or none): closes the preview and starts the picture's.
    void PageSelectClick(int tag, Qt::MouseButton button, QPoint pos);
    // Closes the preview shown, if any; the tag becomes -1.
    void ClosePreviewPage();

    std::function<void(int tag)> StartPreview;
    std::function<void()> ClosePreview;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Arrange();

    QFrame* FPictures[PictureCount];
    QFrame* FShadows[PictureCount];
    QLabel* FCaptions[PictureCount];
};
