// Turns the manual's Markdown source into Tavimor.pdf (a build step): A4
// pages with the screenshots scaled to the text width, a table of contents
// with page numbers where the source says [[TOC]], and page numbers below.
//
//   tavimor-manual-pdf MANUAL.md IMAGE_DIR OUT.pdf
//
// Images named in the source are looked up in IMAGE_DIR.
#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kResolution = 96;     // layout in the screen's units
constexpr double kMarginMm = 18.0;  // around the text
constexpr int kFooterHeight = 28;   // below the text, for the page number
constexpr const char* kTocMarker = "[[TOC]]";

struct Heading {
    QTextBlock block;
    int level;
};

// The headings of levels 1 and 2, in order.
std::vector<Heading> headings(const QTextDocument& document) {
    std::vector<Heading> found;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level == 1 || level == 2) found.push_back({block, level});
    }
    return found;
}

int page_of(const QTextDocument& document, const QTextBlock& block) {
    const qreal top = document.documentLayout()->blockBoundingRect(block).top();
    return static_cast<int>(top / document.pageSize().height()) + 1;
}

// Every image at most the text's width and two thirds of its height, never
// enlarged.
void fit_images(QTextDocument& document) {
    const qreal width = document.pageSize().width() - 2 * document.documentMargin();
    const qreal height = document.pageSize().height() * 2 / 3;
    struct Placed {
        int position;
        int length;
        QTextImageFormat format;
    };
    std::vector<Placed> images;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                images.push_back({it.fragment().position(), it.fragment().length(),
                                  it.fragment().charFormat().toImageFormat()});
    for (Placed& placed : images) {
        const QImage image =
            document.resource(QTextDocument::ImageResource, QUrl(placed.format.name()))
                .value<QImage>();
        if (image.isNull()) {
            std::fprintf(stderr, "tavimor-manual-pdf: missing image %s\n",
                         qPrintable(placed.format.name()));
            std::exit(1);
        }
        const qreal scale = std::min({1.0, width / image.width(), height / image.height()});
        placed.format.setWidth(image.width() * scale);
        placed.format.setHeight(image.height() * scale);
        QTextCursor cursor(&document);
        cursor.setPosition(placed.position);
        cursor.setPosition(placed.position + placed.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(placed.format);
    }
}

QTextBlock find_marker(const QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        if (block.text().trimmed() == kTocMarker) return block;
    return {};
}

// Writes the contents at the marker: one line per heading, its page number
// at the right edge. `pages` empty: placeholders of the same layout.
void write_contents(QTextDocument& document, int marker_position, int* end_position,
                    const std::vector<Heading>& entries, const std::vector<int>& pages) {
    QTextCursor cursor(&document);
    cursor.setPosition(marker_position);
    cursor.setPosition(*end_position, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    const qreal width = document.pageSize().width() - 2 * document.documentMargin();
    for (size_t i = 0; i < entries.size(); ++i) {
        QTextBlockFormat format;
        const qreal indent = entries[i].level == 1 ? 0 : 18;
        // Tab positions count from the block's left margin.
        format.setTabPositions({QTextOption::Tab(width - 4 - indent, QTextOption::RightTab)});
        format.setLeftMargin(indent);
        format.setTopMargin(entries[i].level == 1 ? 6 : 0);
        QTextCharFormat text;
        text.setFontWeight(entries[i].level == 1 ? QFont::Bold : QFont::Normal);
        if (i > 0)
            cursor.insertBlock(format, text);
        else {
            cursor.setBlockFormat(format);
            cursor.setCharFormat(text);
        }
        const QString page = pages.empty() ? QString("000") : QString::number(pages[i]);
        cursor.insertText(entries[i].block.text() + "\t" + page, text);
    }
    *end_position = cursor.position();
}

void add_table_of_contents(QTextDocument& document) {
    QTextBlock marker = find_marker(document);
    if (!marker.isValid()) return;
    const int start = marker.position();
    int end = start + marker.length() - 1;
    std::vector<Heading> entries;
    for (const Heading& heading : headings(document))
        if (heading.block.position() > start) entries.push_back(heading);
    write_contents(document, start, &end, entries, {});
    // The headings again (the blocks moved), now with their pages.
    std::vector<Heading> after;
    for (const Heading& heading : headings(document))
        if (heading.block.position() > end) after.push_back(heading);
    std::vector<int> pages;
    for (const Heading& heading : after) pages.push_back(page_of(document, heading.block));
    write_contents(document, start, &end, after, pages);
}

// Each chapter (level-1 heading) after the first starts a page.
void break_before_chapters(QTextDocument& document) {
    bool first = true;
    for (const Heading& heading : headings(document)) {
        if (heading.level != 1) continue;
        if (first) {
            first = false;
            continue;
        }
        QTextCursor cursor(heading.block);
        QTextBlockFormat format = heading.block.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.setBlockFormat(format);
    }
}

void print(QTextDocument& document, QPdfWriter& writer) {
    QPainter painter(&writer);
    const QSizeF page = document.pageSize();
    const int count = document.pageCount();
    QFont footer = document.defaultFont();
    footer.setPointSizeF(footer.pointSizeF() * 0.85);
    for (int i = 0; i < count; ++i) {
        if (i > 0) writer.newPage();
        painter.save();
        painter.translate(0, -i * page.height());
        QAbstractTextDocumentLayout::PaintContext context;
        // Short of the page's last pixel row, which belongs to what the next
        // page starts with.
        context.clip = QRectF(0, i * page.height(), page.width(), page.height() - 1);
        painter.setClipRect(context.clip);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
        painter.setFont(footer);
        painter.setPen(Qt::darkGray);
        painter.drawText(QRectF(0, page.height(), page.width(), kFooterHeight), Qt::AlignCenter,
                         QString("Tavimor manual \u2014 %1").arg(i + 1));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: tavimor-manual-pdf MANUAL.md IMAGE_DIR OUT.pdf\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt wants a private runtime folder; one of the tool's own, removed after.
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QGuiApplication application(argc, argv);
    QFile source(argv[1]);
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "tavimor-manual-pdf: cannot read %s\n", argv[1]);
        return 1;
    }
    QPdfWriter writer(QString::fromLocal8Bit(argv[3]));
    writer.setTitle("Tavimor manual");
    writer.setCreator("Tavimor");
    writer.setResolution(kResolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                          QPageLayout::Millimeter);

    QTextDocument document;
    document.documentLayout()->setPaintDevice(&writer);
    QFont font("Liberation Serif");
    font.setPointSizeF(10.5);
    document.setDefaultFont(font);
    document.setDocumentMargin(0);
    document.setPageSize(QSizeF(writer.width(), writer.height() - kFooterHeight));
    document.setBaseUrl(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[2]) + "/"));
    document.setDefaultStyleSheet("");
    document.setMarkdown(QString::fromUtf8(source.readAll()));
    fit_images(document);
    break_before_chapters(document);
    add_table_of_contents(document);
    print(document, writer);
    return 0;
}
