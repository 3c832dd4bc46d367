#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <utility>

// The answers to the last few questions put to a costly function, handed out again when a
// question comes back: one rendering asks much the same as the one before. Safe to use from
// several threads at once. Renderings may still run on other threads while the program ends,
// so an instance is made once and never destroyed.
template <typename Question, typename Answer, std::size_t Count = 1> class KeptAnswers {
public:
    // The kept answer to a question that `same` finds equal to `question`; else `compute()`,
    // kept (in place of the least recently asked) when `worthKeeping(answer)`.
    template <typename Same, typename Compute, typename WorthKeeping>
    Answer Get(const Question& question, const Same& same, const Compute& compute,
               const WorthKeeping& worthKeeping) {
        {
            const std::lock_guard lock(m_mutex);
            for (auto it = m_kept.begin(); it != m_kept.end(); ++it) {
                if (same(it->first, question)) {
                    auto found = std::move(*it);
                    m_kept.erase(it);
                    m_kept.push_front(std::move(found));
                    return m_kept.front().second;
                }
            }
        }
        Answer answer = compute();
        if (worthKeeping(answer)) {
            const std::lock_guard lock(m_mutex);
            m_kept.emplace_front(question, answer);
            if (m_kept.size() > Count)
                m_kept.pop_back();
        }
        return answer;
    }

    template <typename Same, typename Compute>
    Answer Get(const Question& question, const Same& same, const Compute& compute) {
        return Get(question, same, compute, [](const Answer&) { return true; });
    }

    // What `use(keptQuestion, keptAnswer)` makes of the most recently asked kept answer it can
    // use (an optional of its own making), which becomes the most recently asked; nothing when
    // it can use none.
    template <typename Use>
    auto FindUsable(const Use& use)
        -> decltype(use(std::declval<const Question&>(), std::declval<const Answer&>())) {
        const std::lock_guard lock(m_mutex);
        for (auto it = m_kept.begin(); it != m_kept.end(); ++it) {
            if (auto used = use(it->first, it->second)) {
                auto found = std::move(*it);
                m_kept.erase(it);
                m_kept.push_front(std::move(found));
                return used;
            }
        }
        return {};
    }

private:
    std::mutex m_mutex;
    std::deque<std::pair<Question, Answer>> m_kept; // the most recently asked first
};
