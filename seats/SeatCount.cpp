#include "seats/SeatCount.h"

#include "seats/Classroom.h"

QString SeatCount::text() const {
    if (!students)
        return QStringLiteral("座席 %1 ／ 名簿なし").arg(seats);
    return QStringLiteral("座席 %1 ／ 名簿 %2人").arg(seats).arg(*students);
}

QString SeatCount::advice() const {
    if (!differs())
        return {};
    if (seats > *students)
        return QStringLiteral("×印をあと%1個付けてください").arg(seats - *students);
    if (*students > layout::maxSeats)
        return QStringLiteral("名簿が%1人を超えています").arg(layout::maxSeats);
    return QStringLiteral("×印を%1個外してください").arg(*students - seats);
}
