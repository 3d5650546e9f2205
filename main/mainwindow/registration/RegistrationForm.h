#pragma once

#include <QString>

/// What the registration panel holds, as typed or picked. An unpicked list
/// is an empty text.
struct RegistrationForm
{
    enum class Field { Code, FirstName, LastName, Sex, Age, Education, Group, BirthDate, Examiner, TestDate };

    QString code; ///< Text2(2) -> Code
    QString firstName; ///< Text2(0) -> FName
    QString lastName; ///< Text2(1) -> LName
    QString sex; ///< Combo1 -> Jens
    QString age; ///< Combo2 -> Sen
    QString education; ///< Text2(3) -> Tahsil
    QString group; ///< Combo3 -> Group
    QString birthDate; ///< Text2(5) -> DateTavalod
    QString examiner; ///< Text2(6) -> Azmayande
    QString testDate; ///< Text2(4) -> DateEjra
};
