#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <iterator>
#include <optional>
#include <variant>

#include "FoldCase.h"
#include "VelmarError.h"

// An ordered collection, positions 1..Count, whose elements may carry a unique key.
// Keys compare without regard to letter case (accented letters included); lookups by
// key are hashed so that large lists stay linear.
template <typename T>
class CCollection {
public:
    // An element named by its position (1-based) or by its key.
    using Ref = std::variant<qsizetype, QString>;

    // Appends Item, or inserts it before or after the element named; raises 457 when
    // Key is already present and 5 when Before or After names no element.
    void Add(T Item, std::optional<QString> Key = {}, std::optional<Ref> Before = {},
             std::optional<Ref> After = {}) {
        std::optional<QString> folded;
        if (Key) {
            folded = FoldCase(*Key);
            if (m_index.contains(*folded))
                throw VelmarError(VelmarError::DuplicateKey,
                                  QStringLiteral("Cette clé est déjà associée à un élément de "
                                                 "cette collection"));
        }
        qsizetype at = m_colItems.size();
        if (Before)
            at = Require(*Before);
        else if (After)
            at = Require(*After) + 1;
        m_colItems.insert(m_colItems.begin() + at, Element{std::move(Item), folded});
        if (at == m_colItems.size() - 1) {
            if (folded) m_index.insert(*folded, at);
        } else {
            Reindex(at);
        }
    }

    // Removes the element named; the later ones move up. Raises 5 when there is none.
    void Remove(const Ref& Key) {
        const qsizetype at = Require(Key);
        if (m_colItems[at].key) m_index.remove(*m_colItems[at].key);
        m_colItems.erase(m_colItems.begin() + at);
        Reindex(at);
    }

    qint32 Count() const { return static_cast<qint32>(m_colItems.size()); }

    // The element named, or an empty value when there is none. Never raises.
    T Item(const Ref& Key) const {
        const auto at = Find(Key);
        return at ? m_colItems[*at].value : T{};
    }

    // Adds vValue under sKey when the key is new; answers the element stored under sKey.
    // A repeated key is the common case of a list: it is looked up, not raised and caught.
    T AddIfAbsent(const T& vValue, const QString& sKey) {
        const QString folded = FoldCase(sKey);
        // One probe of the index finds the key or makes its slot.
        const qsizetype keys = m_index.size();
        qsizetype& at = m_index[folded];
        if (m_index.size() == keys) return m_colItems[at].value;
        at = m_colItems.size();
        m_colItems.push_back(Element{vValue, folded});
        return vValue;
    }

    bool IncludesKey(const QString& sKey) const { return m_index.contains(FoldCase(sKey)); }

    // For-each iteration, first to last.
    auto begin() const { return ValueIterator{m_colItems.begin()}; }
    auto end() const { return ValueIterator{m_colItems.end()}; }

private:
    struct Element {
        T value;
        std::optional<QString> key;  // case-folded
    };
    using Elements = QList<Element>;

    struct ValueIterator {
        using iterator_category = std::forward_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = const T*;
        using reference = const T&;

        typename Elements::const_iterator it;
        const T& operator*() const { return it->value; }
        ValueIterator& operator++() {
            ++it;
            return *this;
        }
        ValueIterator operator++(int) { return ValueIterator{it++}; }
        bool operator==(const ValueIterator&) const = default;
    };

    // 0-based index of the element named, if any.
    std::optional<qsizetype> Find(const Ref& ref) const {
        if (const auto* position = std::get_if<qsizetype>(&ref)) {
            if (*position < 1 || *position > m_colItems.size()) return std::nullopt;
            return *position - 1;
        }
        const auto hit = m_index.constFind(FoldCase(std::get<QString>(ref)));
        if (hit == m_index.cend()) return std::nullopt;
        return hit.value();
    }

    qsizetype Require(const Ref& ref) const {
        const auto at = Find(ref);
        if (!at)
            throw VelmarError(VelmarError::InvalidArgument,
                              QStringLiteral("Argument ou appel de procédure incorrect"));
        return *at;
    }

    // Positions from `from` on have moved.
    void Reindex(qsizetype from) {
        for (qsizetype i = from; i < m_colItems.size(); ++i)
            if (m_colItems[i].key) m_index.insert(*m_colItems[i].key, i);
    }

    Elements m_colItems;
    QHash<QString, qsizetype> m_index;
};
