#pragma once

#include <QObject>
#include <QPageLayout>
#include <QString>

#include <functional>

class PageCanvas;
class QDialog;
class QPrinter;
class QWidget;
class RecordingCanvas;

// The printing service the window holds: it asks for the print options,
// has the one page composed through its callback while a status window
// shows, and sends the page to the preview, a printer or a PDF file. The
// page is composed once, into a recording, so the callback never runs from
// inside a paint event and an error it raises leaves nothing half printed.
class ReportSystem : public QObject {
public:
    enum class Destination { Printer, Preview, File };

    // The fixed settings.
    struct Settings {
        QPageLayout::Orientation orientation = QPageLayout::Landscape;
        double marginMm = 15; // all four sides; they neither move the origin nor clip
        Destination defaultDestination = Destination::Preview;
        QString jobName = QStringLiteral("Kirabo");
        QString optionsTitle = QStringLiteral("印刷のオプション");
        QString statusTitle = QStringLiteral("レポートの状態");
        QString statusLine = QStringLiteral("作成中 %p"); // %p: the page being composed
        QString previewTitle = QStringLiteral("座席表のプレビュー");
        double previewZoom = 0.5;
        int pdfResolution = 1200; // dots per inch of a PDF file
    };

    // What the options dialog answered.
    struct Options {
        Destination destination = Destination::Preview;
        int copies = 1;
        QString printerName; // empty: the system has no printer
        QString fileName;
    };

    explicit ReportSystem(QWidget *owner);

    const Settings &settings() const { return fixed; }

    // Composes the one page; set by the window.
    std::function<void(PageCanvas &page)> onPrint;
    // The name a PDF file is proposed under, in the folder of the last one;
    // set by the window. Without it the last file's name is proposed again.
    std::function<QString()> pdfName;

    // The print command: options, composition, output. Cancelling the
    // options ends it without output. Errors of composition and output are
    // raised to the caller.
    void execute();

private:
    bool askOptions(Options &options);
    RecordingCanvas compose();
    void preview(const RecordingCanvas &page, const Options &options);
    void print(const RecordingCanvas &page, const Options &options);
    // Writes the PDF and says so, without a box, on the window named.
    void writePdf(const RecordingCanvas &page, const Options &options, const QString &fileName, QWidget *over);
    QString proposedPdf() const;

    QPageLayout pageLayout(const QString &printerName) const;
    void setUpPrinter(QPrinter &printer, const Options &options) const;

    QWidget *owner;
    Settings fixed;
    QString lastFileName; // proposed again by the next options dialog
    QDialog *status = nullptr; // the status window while the page is composed
};
