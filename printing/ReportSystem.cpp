#include "printing/ReportSystem.h"

#include "widgets/Dialogs.h"
#include "platform/Errors.h"
#include "widgets/FileDialog.h"
#include "widgets/Guard.h"
#include "widgets/Notice.h"
#include "platform/TextFile.h"
#include "print/PageCanvas.h"

#include <QBuffer>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <new>

namespace {

QString pdfSuffix() {
    return QStringLiteral("pdf");
}

// Asks the PDF file a save names, as the options' browse button and the
// preview's save button do.
bool choosePdfFile(QString &fileName) {
    FileDialog dialog(FileDialog::Mode::Save);
    dialog.filterName = QStringLiteral("PDFファイル");
    dialog.patterns = {QStringLiteral("*.pdf")};
    dialog.defaultExt = pdfSuffix();
    dialog.fileName = fileName;
    if (!dialog.execute())
        return false;
    fileName = dialog.fileName;
    return true;
}

// A typed name without a folder lies in the home folder, and one without an
// extension gets ".pdf", as the file dialog would have given it.
QString completePdfName(const QString &typed) {
    QString name = QDir::home().absoluteFilePath(typed.trimmed());
    if (QFileInfo(name).suffix().isEmpty())
        name += QLatin1Char('.') + pdfSuffix();
    return name;
}

class OptionsDialog : public QDialog {
public:
    OptionsDialog(QWidget *parent, const ReportSystem::Settings &settings, const QString &proposedFile)
        : QDialog(parent) {
        setWindowTitle(settings.optionsTitle);

        auto *where = new QGroupBox(QStringLiteral("出力先"), this);
        toPrinter = new QRadioButton(QStringLiteral("プリンタ"), where);
        toPreview = new QRadioButton(QStringLiteral("プレビュー"), where);
        toFile = new QRadioButton(QStringLiteral("ファイル"), where);
        auto *whereLayout = new QVBoxLayout(where);
        whereLayout->addWidget(toPrinter);
        whereLayout->addWidget(toPreview);
        whereLayout->addWidget(toFile);

        printer = new QComboBox(this);
        const QStringList printers = QPrinterInfo::availablePrinterNames();
        printer->addItems(printers);
        if (printers.isEmpty()) {
            printer->addItem(QStringLiteral("（プリンタがありません）"));
            printer->setEnabled(false);
            toPrinter->setEnabled(false);
        } else {
            printer->setCurrentText(QPrinterInfo::defaultPrinterName());
        }
        copies = new QSpinBox(this);
        copies->setRange(1, 999);
        copies->setEnabled(!printers.isEmpty());

        fileName = new QLineEdit(proposedFile, this);
        // Wide enough to show the proposed file's whole path, within reason.
        fileName->setMinimumWidth(std::min(fileName->fontMetrics().horizontalAdvance(proposedFile) + 16, 420));
        browse = new QPushButton(QStringLiteral("参照..."), this);
        auto *fileRow = new QHBoxLayout;
        fileRow->addWidget(fileName, 1);
        fileRow->addWidget(browse);

        auto *form = new QFormLayout;
        form->addRow(QStringLiteral("プリンタ:"), printer);
        form->addRow(QStringLiteral("部数:"), copies);
        form->addRow(QStringLiteral("ファイル名:"), fileRow);

        auto *buttons = new QDialogButtonBox(this);
        ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
        buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
        ok->setDefault(true);

        auto *layout = new QVBoxLayout(this);
        layout->addWidget(where);
        layout->addLayout(form);
        layout->addWidget(buttons);

        switch (settings.defaultDestination) {
        case ReportSystem::Destination::Printer:
            toPrinter->setChecked(toPrinter->isEnabled());
            break;
        case ReportSystem::Destination::Preview:
            toPreview->setChecked(true);
            break;
        case ReportSystem::Destination::File:
            toFile->setChecked(true);
            break;
        }

        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        connect(browse, &QPushButton::clicked, this, [this] {
            QString name = fileName->text();
            if (choosePdfFile(name))
                fileName->setText(name);
        });
        for (QRadioButton *b : {toPrinter, toPreview, toFile})
            connect(b, &QRadioButton::toggled, this, [this] { updateState(); });
        connect(fileName, &QLineEdit::textChanged, this, [this] { updateState(); });
        updateState();
    }

    ReportSystem::Options options() const {
        ReportSystem::Options o;
        o.destination = toPrinter->isChecked() ? ReportSystem::Destination::Printer
                        : toFile->isChecked()  ? ReportSystem::Destination::File
                                               : ReportSystem::Destination::Preview;
        o.copies = copies->value();
        if (printer->isEnabled())
            o.printerName = printer->currentText();
        if (!fileName->text().trimmed().isEmpty())
            o.fileName = completePdfName(fileName->text());
        return o;
    }

private:
    void updateState() {
        const bool file = toFile->isChecked();
        fileName->setEnabled(file);
        browse->setEnabled(file);
        ok->setEnabled(!file || !fileName->text().trimmed().isEmpty());
    }

    QRadioButton *toPrinter;
    QRadioButton *toPreview;
    QRadioButton *toFile;
    QComboBox *printer;
    QSpinBox *copies;
    QLineEdit *fileName;
    QPushButton *browse;
    QPushButton *ok;
};

void drawPage(const RecordingCanvas &page, QPaintDevice &device) {
    QPainter painter;
    if (!painter.begin(&device))
        throw InOutError(syserr::deviceFailed);
    PainterCanvas canvas(painter);
    page.replay(canvas);
    if (!painter.end())
        throw InOutError(syserr::deviceFailed);
}

} // namespace

ReportSystem::ReportSystem(QWidget *owner) : QObject(owner), owner(owner) {
    lastFileName = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                       .filePath(QStringLiteral("座席表.pdf"));
}

void ReportSystem::execute() {
    Options options;
    if (!askOptions(options))
        return;
    const RecordingCanvas page = compose();
    switch (options.destination) {
    case Destination::Preview:
        preview(page, options);
        break;
    case Destination::Printer:
        print(page, options);
        break;
    case Destination::File:
        writePdf(page, options, options.fileName, owner);
        break;
    }
}

bool ReportSystem::askOptions(Options &options) {
    OptionsDialog dialog(owner, fixed, proposedPdf());
    if (runModal(dialog) != QDialog::Accepted)
        return false;
    options = dialog.options();
    if (!options.fileName.isEmpty())
        lastFileName = options.fileName;
    return true;
}

RecordingCanvas ReportSystem::compose() {
    // Made at the first print and shown again at every other: a new window
    // each time cost more than writing the page's PDF.
    if (!status) {
        status = new QDialog(owner);
        status->setWindowTitle(fixed.statusTitle);
        auto *line =
            new QLabel(QString(fixed.statusLine).replace(QStringLiteral("%p"), QStringLiteral("1")), status);
        line->setMinimumWidth(200);
        auto *layout = new QVBoxLayout(status);
        layout->addWidget(line);
    }
    status->show();
    const auto hide = qScopeGuard([this] { status->hide(); });
    // Lets the window appear before the page is composed.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    RecordingCanvas page;
    if (onPrint)
        onPrint(page);
    return page;
}

void ReportSystem::preview(const RecordingCanvas &page, const Options &options) {
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, options);

    QDialog window(owner);
    window.setWindowTitle(fixed.previewTitle);
    auto *view = new QPrintPreviewWidget(&printer, &window);
    view->setZoomMode(QPrintPreviewWidget::CustomZoom);
    view->setZoomFactor(fixed.previewZoom);
    connect(view, &QPrintPreviewWidget::paintRequested, &window, [&page](QPrinter *target) {
        QPainter painter(target);
        PainterCanvas canvas(painter);
        page.replay(canvas);
    });

    auto *buttons = new QDialogButtonBox(&window);
    QPushButton *printButton = buttons->addButton(QStringLiteral("印刷"), QDialogButtonBox::ActionRole);
    QPushButton *saveButton = buttons->addButton(QStringLiteral("PDFとして保存..."), QDialogButtonBox::ActionRole);
    QPushButton *closeButton = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    printButton->setEnabled(!options.printerName.isEmpty());
    closeButton->setDefault(true);
    connect(printButton, &QPushButton::clicked, &window, [&] { runGuarded([&] { print(page, options); }); });
    connect(saveButton, &QPushButton::clicked, &window, [&] {
        runGuarded([&] {
            QString name = proposedPdf();
            if (!choosePdfFile(name))
                return;
            lastFileName = name;
            writePdf(page, options, name, &window);
        });
    });
    connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);

    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(view, 1);
    layout->addWidget(buttons);
    window.resize(720, 560);
    runModal(window);
}

void ReportSystem::print(const RecordingCanvas &page, const Options &options) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(options.printerName);
    // The printer was there when the options were chosen; it may be gone.
    if (info.isNull())
        throw InOutError(syserr::noSuchDevice);
    QPrinter printer(info, QPrinter::HighResolution);
    setUpPrinter(printer, options);
    printer.setCopyCount(options.copies);
    drawPage(page, printer);
    if (printer.printerState() == QPrinter::Error)
        throw InOutError(syserr::deviceFailed);
}

QString ReportSystem::proposedPdf() const {
    if (!pdfName)
        return lastFileName;
    return QFileInfo(lastFileName).dir().filePath(pdfName());
}

void ReportSystem::writePdf(const RecordingCanvas &page, const Options &options, const QString &fileName,
                            QWidget *over) {
    // The whole document is made in memory first, so that the file is
    // replaced only by a complete one.
    QBuffer document;
    document.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&document);
        pdf.setResolution(fixed.pdfResolution);
        pdf.setTitle(fixed.jobName);
        pdf.setCreator(fixed.jobName);
        pdf.setPageLayout(pageLayout(options.printerName));
        drawPage(page, pdf);
    }
    textfile::save(fileName, document.data());
    showNotice(over, QStringLiteral("PDF「%1」を保存しました").arg(QFileInfo(fileName).fileName()));
}

QPageLayout ReportSystem::pageLayout(const QString &printerName) const {
    // The paper is the printer's own; without a printer, A4.
    QPageSize paper;
    const QPrinterInfo info = QPrinterInfo::printerInfo(printerName);
    if (!info.isNull())
        paper = info.defaultPageSize();
    if (!paper.isValid())
        paper = QPageSize(QPageSize::A4);
    const double m = fixed.marginMm;
    QPageLayout layout(paper, fixed.orientation, QMarginsF(m, m, m, m), QPageLayout::Millimeter);
    // Positions are measured from the paper's corner, and the margins clip nothing.
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

void ReportSystem::setUpPrinter(QPrinter &printer, const Options &options) const {
    if (!options.printerName.isEmpty())
        printer.setPrinterName(options.printerName);
    printer.setDocName(fixed.jobName);
    printer.setPageLayout(pageLayout(options.printerName));
    printer.setFullPage(true);
}
