#pragma once

#include <QStringList>
#include <functional>
#include <vector>

// The answer to the control port's `status`: "NAME VALUE" lines gathered
// afresh, on every ask, from whoever has something to tell (the panel, each
// server it runs), in the order they were added.
class StatusReport
{
public:
    using Contributor = std::function<QStringList()>;

    void add(Contributor contributor) { m_contributors.push_back(std::move(contributor)); }

    [[nodiscard]] QStringList lines() const
    {
        QStringList all;
        for (const Contributor &contributor : m_contributors)
            all += contributor();
        return all;
    }

private:
    std::vector<Contributor> m_contributors;
};
