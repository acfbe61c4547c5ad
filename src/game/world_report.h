// The world as the headless `state` line reports it while a mission runs: the chopper in
// readable units, the goals and the message line. (The flight recorder gives the raw numbers.)
#pragma once

#include <string>

class GameWorld;
class MessageQueue;

// "key":value pairs of JSON without braces: "chopper", "goals" and "messages" (from `queue`,
// which may be null).
std::string DescribeWorld(const GameWorld& world, const MessageQueue* queue);
