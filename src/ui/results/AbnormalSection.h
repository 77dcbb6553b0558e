#pragma once

#include <QLabel>

namespace queldo {

/// The grade window's section on abnormal cells, under its charts: how many were tried, the
/// share whose karyotype was named right and the abnormalities most often missed. Shown only
/// when the trainee has such attempts (or their file cannot be read), so that a trainee who
/// never met an abnormal cell sees the window as it always was.
class AbnormalSection : public QLabel
{
    Q_OBJECT
public:
    explicit AbnormalSection(QWidget *parent = nullptr);

    /// Reads the abnormal attempts file afresh; the section takes the width given and the
    /// height its lines need, or hides.
    void refresh(const QString &attemptsPath, int width);
};

} // namespace queldo
