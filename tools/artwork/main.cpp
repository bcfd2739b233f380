// Draws every picture of the editor at 1x, 1.5x and 2x and writes them as PNG files.
// Usage: vextoria-artwork <output folder>

#include "Catalogue.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <thread>

namespace {

struct Job
{
    const artwork::Picture* picture;
    artwork::OutputFile file;
};

std::vector<artwork::Picture> allPictures()
{
    std::vector<artwork::Picture> pictures = artwork::rackPictures();
    for (auto&& group : {artwork::legacyPictures(), artwork::overlayPictures()})
        pictures.insert(pictures.end(), group.begin(), group.end());
    return pictures;
}

// The files are independent, so they are drawn on all cores; the long strips dominate.
std::vector<std::string> runJobs(const std::vector<Job>& jobs, const std::string& folder)
{
    std::atomic<size_t> next{0};
    std::mutex errorsLock;
    std::vector<std::string> errors;
    auto worker = [&] {
        for (size_t index = next++; index < jobs.size(); index = next++)
            if (std::string error = writePicture(*jobs[index].picture, jobs[index].file, folder); !error.empty())
            {
                std::lock_guard lock(errorsLock);
                errors.push_back(error);
            }
    };
    std::vector<std::thread> workers(std::max(1u, std::thread::hardware_concurrency()));
    for (std::thread& thread : workers)
        thread = std::thread(worker);
    for (std::thread& thread : workers)
        thread.join();
    return errors;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: " << argv[0] << " <output folder>\n";
        return 2;
    }
    const std::string folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
    {
        std::cerr << "cannot create " << folder << ": " << error.message() << "\n";
        return 1;
    }
    const std::vector<artwork::Picture> pictures = allPictures();
    std::vector<Job> jobs;
    for (const artwork::Picture& picture : pictures)
        for (const artwork::OutputFile& file : filesOf(picture))
            jobs.push_back({&picture, file});
    // Longest strips first, so that no core is left with a long one at the end.
    std::stable_sort(jobs.begin(), jobs.end(), [](const Job& a, const Job& b) {
        return a.picture->frames * a.file.scale > b.picture->frames * b.file.scale;
    });
    const std::vector<std::string> errors = runJobs(jobs, folder);
    for (const std::string& message : errors)
        std::cerr << message << "\n";
    if (!errors.empty())
        return 1;
    std::cout << jobs.size() << " pictures written to " << folder << "\n";
    return 0;
}
