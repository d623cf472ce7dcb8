// A small Gomocup brain for the tests, misbehaving on request:
//   brindle_fake_brain good|late|garbage|crash|taken|stubborn
// good answers the first free cell from the top-left; late does so after
// three seconds; garbage answers words; crash exits when asked about a
// board of three stones or more; taken answers the cell of the other side's
// last stone it was told of; stubborn plays as good does but will not end.
#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <thread>

int main(int argc, char* argv[])
{
    const std::string mode = argc > 1 ? argv[1] : "good";
    bool board[20][20] = {};
    int lastX = 0, lastY = 0, stones = 0;
    bool inBoard = false;
    const auto answer = [&] {
        if (stones >= 3 && mode == "crash")
            std::exit(3);
        if (mode == "garbage")
            return void(std::cout << "banana split\n" << std::flush);
        if (mode == "late")
            std::this_thread::sleep_for(std::chrono::seconds(3));
        int x = lastX, y = lastY;
        if (mode != "taken")
            for (int i = 0; i < 400; ++i)
                if (!board[i / 20][i % 20]) {
                    x = i % 20, y = i / 20;
                    break;
                }
        board[y][x] = true;
        std::cout << "MESSAGE thinking done\n" << x << ',' << y << '\n' << std::flush;
    };
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        int x = 0, y = 0, who = 0;
        if (inBoard) {
            if (line == "DONE")
                inBoard = false, answer();
            else if (std::sscanf(line.c_str(), "%d,%d,%d", &x, &y, &who) == 3) {
                board[y][x] = true, ++stones;
                if (who == 2)
                    lastX = x, lastY = y;
            }
        } else if (line == "START 20" || line == "RESTART") {
            std::cout << "OK\n" << std::flush;
            for (auto& row : board)
                for (bool& cell : row)
                    cell = false;
        } else if (line == "ABOUT") {
            std::cout << "name=\"Fake " << mode << "\", version=\"1.0\"\n" << std::flush;
        } else if (line == "BOARD") {
            inBoard = true, stones = 0;
            for (auto& row : board)
                for (bool& cell : row)
                    cell = false;
        } else if (line == "BEGIN") {
            answer();
        } else if (std::sscanf(line.c_str(), "TURN %d,%d", &x, &y) == 2) {
            board[y][x] = true, lastX = x, lastY = y, answer();
        } else if (line == "END" && mode != "stubborn") {
            return 0;
        } else if (line.rfind("INFO", 0) != 0) {
            std::cout << "UNKNOWN " << line << '\n' << std::flush;
        }
    }
    if (mode == "stubborn")
        std::this_thread::sleep_for(std::chrono::seconds(10));
}
