// A grid of thumbnails of the delivered frames, each labelled with its frame
// number, written as one PNG.
#ifndef CONTACT_SHEET_H
#define CONTACT_SHEET_H

#include <QImage>
#include <QList>
#include <QString>

class ContactSheet {
public:
    // Thumbnails kept at most; an endless run shows its first frames.
    static constexpr int maxFrames = 400;
    static constexpr int thumbnailWidth = 160;
    static constexpr int thumbnailHeight = 120;

    // Keeps only the frame's thumbnail, so the frame may be a view of the
    // camera's bytes. A null frame (a pixel format without a Qt image format)
    // leaves an empty box.
    void add(const QImage& frame, int number);
    bool isFull() const { return m_thumbnails.size() >= maxFrames; }
    int size() const { return m_thumbnails.size(); }
    QImage render() const;

private:
    struct Thumbnail {
        QImage image;
        int number;
    };
    QList<Thumbnail> m_thumbnails;
};

#endif
